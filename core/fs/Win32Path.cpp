#include "Win32Path.h"

#include <windows.h>

#include <vector>

#include "logic/Win32PathForm.h"

namespace qlfs {
namespace {

// Calls `fill(buffer, size)`, a Win32 function that returns the length it
// needs when the buffer is too small, until the text fits.
template <typename Fill>
std::wstring ReadGrowingText(Fill fill)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = fill(buffer.data(), DWORD(buffer.size()));
        if (length == 0)
            return std::wstring();
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(length);
    }
}

// The process's own current folders, read when a relative path needs them.
class CWin32CurrentFolders final : public IWin32CurrentFolders {
public:
    std::wstring CurrentFolder() override
    {
        return ReadGrowingText([](wchar_t* buffer, DWORD size) { return ::GetCurrentDirectoryW(size, buffer); });
    }

    // "D:" alone names that drive's current folder, which Windows keeps in
    // the hidden "=D:" environment variable; GetFullPathNameW reads it.
    std::wstring CurrentFolderOfDrive(wchar_t drive) override
    {
        const wchar_t driveOnly[] = {drive, L':', L'\0'};
        std::wstring folder = ReadGrowingText(
            [&](wchar_t* buffer, DWORD size) { return ::GetFullPathNameW(driveOnly, size, buffer, nullptr); });
        return folder.empty() ? std::wstring{drive, L':', L'\\'} : folder;
    }
};

}  // namespace

std::wstring ToWin32Path(const std::wstring& path)
{
    CWin32CurrentFolders folders;
    return Win32LongPath(path, folders);
}

std::wstring Win32FullPathOf(const std::wstring& path)
{
    CWin32CurrentFolders folders;
    return Win32FullPath(path, folders);
}

}  // namespace qlfs
