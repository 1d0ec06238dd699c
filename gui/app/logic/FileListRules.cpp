#include "FileListRules.h"

#include "FileNameFilter.h"
#include "PathFileName.h"
#include "resource.h"

namespace {
int CompareFolded(std::wstring_view a, std::wstring_view b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        wchar_t x = LowerAsciiLetter(a[i]), y = LowerAsciiLetter(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}
}

std::wstring FolderOfPath(std::wstring_view path)
{
    std::wstring_view name = FileNameOfPath(path, true);
    std::wstring_view folder = path.substr(0, path.size() - name.size());
    // "C:\" and "\" keep their separator; "C:\a\" loses it.
    const bool root = folder.size() == 1 || (folder.size() == 3 && folder[1] == L':');
    if (!folder.empty() && IsSeparator(folder.back()) && !root)
        folder.remove_suffix(1);
    return std::wstring(folder);
}

int CompareFileItems(const CFileItem& a, const CFileItem& b, int column, int direction)
{
    if (direction == 0)
        return 0;
    int result = 0;
    switch (column) {
    case 0:
        result = CompareFolded(FileNameOfPath(a.path, true), FileNameOfPath(b.path, true));
        break;
    case 1:
        result = CompareFolded(FolderOfPath(a.path), FolderOfPath(b.path));
        break;
    case 2:
        result = a.status == b.status ? 0 : (a.status < b.status ? -1 : 1);
        break;
    default:
        return 0;
    }
    return direction < 0 ? -result : result;
}

std::wstring FileColumnCaption(int rowCount)
{
    return L"File (" + std::to_wstring(rowCount) + L")";
}

std::wstring RunTitle(int index, int count)
{
    if (index == -1)
        return L"Quillet";
    return std::to_wstring(index + 1) + L"/" + std::to_wstring(count) + L" - Quillet";
}

bool DecideFileListCommand(unsigned id, const FileListState& state, bool& enabled)
{
    switch (id) {
    case ID_ADD_FILES:
    case ID_ADD_FOLDER:
        enabled = true;
        return true;
    case ID_REMOVE:
        enabled = !state.running && state.selectedCount > 0;
        return true;
    case ID_REMOVE_ALL:
        enabled = !state.running && state.rowCount > 0;
        return true;
    case ID_OPEN_FILE:
    case ID_OPEN_FOLDER:
        enabled = state.selectedCount > 0;
        return true;
    default:
        return false;
    }
}

ShellRequest OpenFileRequest(const std::wstring& path, const std::wstring& viewer, bool viewerExists)
{
    if (!viewer.empty() && viewerExists)
        return {L"", viewer, L"\"" + path + L"\""};
    return {L"open", path, L""};
}

ShellRequest OpenFolderRequest(const std::wstring& path)
{
    return {L"", L"explorer.exe", L"/select,\"" + path + L"\""};
}
