#pragma once
// How Windows turns a path as someone wrote it into the absolute path that a
// file function works on, and the "\\?\" form that lets such a path reach past
// MAX_PATH. Plain C++, so the rule is tested natively; the Win32 backend only
// supplies the current folders.
#include <string>
#include <string_view>

namespace qlfs {

// Paths of this many characters or more fail in the plain Win32 file
// functions (MAX_PATH counts the terminating null).
constexpr size_t kWin32MaxPath = 260;

// The folders that relative paths are resolved against. Asked only for a path
// that needs them.
class IWin32CurrentFolders {
public:
    virtual ~IWin32CurrentFolders() = default;
    // The process's current folder: "C:\work" or "\\server\share\work".
    virtual std::wstring CurrentFolder() = 0;
    // The current folder that the process keeps for another drive, for paths
    // such as "D:notes.txt"; the drive's root when it keeps none.
    virtual std::wstring CurrentFolderOfDrive(wchar_t drive) = 0;
};

// The absolute path that `path` names, as GetFullPathNameW resolves it:
// slashes become backslashes, repeated separators collapse, "." and ".."
// segments are resolved without going above the root (the drive, the UNC
// share, or a device path's "\\.\"), one dot ending a folder's name and the
// dots and blanks ending the last name are dropped, and a final separator
// stays. Paths in the "\\?\" form are returned unchanged, since Windows
// takes them literally; so is an empty path.
std::wstring Win32FullPath(std::wstring_view path, IWin32CurrentFolders& folders);

// The form to hand to a Win32 file function: Win32FullPath, and when that is
// kWin32MaxPath characters or longer, its "\\?\" form ("C:\..." becomes
// "\\?\C:\...", "\\server\share\..." becomes "\\?\UNC\server\share\...",
// "\\.\..." becomes "\\?\..."), which Windows takes without a length limit.
std::wstring Win32LongPath(std::wstring_view path, IWin32CurrentFolders& folders);

}  // namespace qlfs
