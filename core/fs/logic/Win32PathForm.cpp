#include "Win32PathForm.h"

#include <vector>

namespace qlfs {
namespace {

constexpr std::wstring_view kLiteralPrefix = L"\\\\?\\";
constexpr std::wstring_view kNtLiteralPrefix = L"\\??\\";
constexpr std::wstring_view kLiteralUncPrefix = L"\\\\?\\UNC\\";
constexpr size_t kNotAbsolute = std::wstring_view::npos;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t UpperAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c; }

// "\\?\..." and its NT spelling "\??\..." reach the file system as written.
bool IsLiteral(std::wstring_view path)
{
    return path.starts_with(kLiteralPrefix) || path.starts_with(kNtLiteralPrefix);
}

// Windows takes any character before a colon as a drive ("C:", "C:\x").
bool HasDrive(std::wstring_view path) { return path.size() >= 2 && path[1] == L':'; }

bool IsDriveAbsolute(std::wstring_view path) { return HasDrive(path) && path.size() >= 3 && IsSeparator(path[2]); }

bool StartsWithTwoSeparators(std::wstring_view path)
{
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

// "\\.\" or "\\?\", spelt with either slash.
bool IsDevicePath(std::wstring_view path)
{
    return path.size() >= 4 && StartsWithTwoSeparators(path) && (path[2] == L'.' || path[2] == L'?') &&
           IsSeparator(path[3]);
}

size_t SkipName(std::wstring_view path, size_t i)
{
    while (i < path.size() && !IsSeparator(path[i]))
        ++i;
    return i;
}

size_t SkipSeparators(std::wstring_view path, size_t i)
{
    while (i < path.size() && IsSeparator(path[i]))
        ++i;
    return i;
}

// Length of the part that ".." never removes: "C:\", "\\.\", or
// "\\server\share\" with the separators after server and share.
size_t RootLength(std::wstring_view path)
{
    if (IsDriveAbsolute(path))
        return 3;
    if (IsDevicePath(path))
        return 4;
    if (!StartsWithTwoSeparators(path))
        return kNotAbsolute;
    const size_t afterServer = SkipSeparators(path, SkipName(path, 2));
    return SkipSeparators(path, SkipName(path, afterServer));
}

// The root with backslashes only and one between server and share, which is
// what the "\\?\UNC\" form needs.
std::wstring NormaliseRoot(std::wstring_view root)
{
    std::wstring result;
    for (size_t i = 0; i < root.size(); ++i) {
        if (!IsSeparator(root[i]))
            result += root[i];
        else if (i < 2 || !IsSeparator(root[i - 1]))
            result += L'\\';
    }
    return result;
}

bool IsTrimmedAtEnd(wchar_t c) { return c == L'.' || c == L' '; }

std::wstring NormaliseAbsolute(std::wstring_view path, size_t rootLength)
{
    const std::wstring_view rest = path.substr(rootLength);
    std::vector<std::wstring_view> names;
    for (size_t begin = SkipSeparators(rest, 0); begin < rest.size();) {
        const size_t end = SkipName(rest, begin);
        std::wstring_view name = rest.substr(begin, end - begin);
        if (name == L"..") {
            if (!names.empty())
                names.pop_back();
        } else if (name != L".") {
            // "a.\b" is "a\b" to Windows; only one dot goes ("a..\b" is "a.\b").
            if (end < rest.size() && name.back() == L'.')
                name.remove_suffix(1);
            names.push_back(name);
        }
        begin = SkipSeparators(rest, end);
    }
    bool endsWithSeparator = !rest.empty() && IsSeparator(rest.back());
    if (!endsWithSeparator && !names.empty()) {
        // The last name loses its trailing dots and blanks; when nothing is
        // left of it, the path ends at the separator before it.
        std::wstring_view& last = names.back();
        while (!last.empty() && IsTrimmedAtEnd(last.back()))
            last.remove_suffix(1);
        if (last.empty()) {
            names.pop_back();
            endsWithSeparator = true;
        }
    }

    std::wstring full = NormaliseRoot(path.substr(0, rootLength));
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            full += L'\\';
        full += names[i];
    }
    if (endsWithSeparator && !names.empty())
        full += L'\\';
    return full;
}

std::wstring Join(const std::wstring& folder, std::wstring_view rest)
{
    if (rest.empty() || folder.empty() || IsSeparator(folder.back()))
        return folder + std::wstring(rest);
    return folder + L'\\' + std::wstring(rest);
}

std::wstring FolderOfDrive(wchar_t drive, IWin32CurrentFolders& folders)
{
    std::wstring current = folders.CurrentFolder();
    if (HasDrive(current) && UpperAscii(current[0]) == UpperAscii(drive))
        return current;
    return folders.CurrentFolderOfDrive(drive);
}

std::wstring MakeAbsolute(std::wstring_view path, IWin32CurrentFolders& folders)
{
    if (IsDriveAbsolute(path) || StartsWithTwoSeparators(path))
        return std::wstring(path);
    if (HasDrive(path))  // "D:notes.txt"
        return Join(FolderOfDrive(path[0], folders), path.substr(2));
    const std::wstring current = folders.CurrentFolder();
    if (IsSeparator(path[0])) {  // "\notes.txt": from the root of the current folder
        const size_t rootLength = RootLength(current);
        if (rootLength == kNotAbsolute)
            return std::wstring(path);
        return Join(current.substr(0, rootLength), path.substr(1));
    }
    return Join(current, path);
}

}  // namespace

std::wstring Win32FullPath(std::wstring_view path, IWin32CurrentFolders& folders)
{
    if (path.empty() || IsLiteral(path))
        return std::wstring(path);
    const std::wstring absolute = MakeAbsolute(path, folders);
    const size_t rootLength = RootLength(absolute);
    // Without a usable current folder the path is left for Windows to judge.
    if (rootLength == kNotAbsolute)
        return absolute;
    return NormaliseAbsolute(absolute, rootLength);
}

std::wstring Win32LongPath(std::wstring_view path, IWin32CurrentFolders& folders)
{
    std::wstring full = Win32FullPath(path, folders);
    if (full.size() < kWin32MaxPath || IsLiteral(full))
        return full;
    if (IsDriveAbsolute(full))
        return std::wstring(kLiteralPrefix) + full;
    // "\\.\" and "\\?\" name the same namespace; only the latter skips the limit.
    if (IsDevicePath(full))
        return std::wstring(kLiteralPrefix) + full.substr(4);
    if (StartsWithTwoSeparators(full))
        return std::wstring(kLiteralUncPrefix) + full.substr(2);
    return full;
}

}  // namespace qlfs
