#include "Win32RemoveTree.h"

#include <windows.h>

#include "CUniqueHandle.h"

namespace {

bool RemoveLiteralTree(const std::wstring& literal)
{
    WIN32_FIND_DATAW data{};
    CFindHandle find(::FindFirstFileW((literal + L"\\*").c_str(), &data));
    if (find.IsValid()) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = literal + L"\\" + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const bool isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if (isFolder && !isLink)
                RemoveLiteralTree(path);
            else if (isFolder)
                ::RemoveDirectoryW(path.c_str());
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find.Get(), &data));
        find.Close();
    }
    return ::RemoveDirectoryW(literal.c_str()) != FALSE;
}

}  // namespace

bool RemoveTreeForTest(const std::wstring& folder)
{
    std::wstring literal = folder;
    while (!literal.empty() && (literal.back() == L'\\' || literal.back() == L'/'))
        literal.pop_back();
    for (wchar_t& c : literal)
        if (c == L'/')
            c = L'\\';
    return RemoveLiteralTree(L"\\\\?\\" + literal);
}
