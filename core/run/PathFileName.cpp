#include "PathFileName.h"

namespace {

bool IsSeparator(wchar_t c, bool windowsRules)
{
    return c == L'/' || (windowsRules && (c == L'\\' || c == L':'));
}

bool IsSlash(wchar_t c, bool windowsRules)
{
    return c == L'/' || (windowsRules && c == L'\\');
}

}  // namespace

std::wstring_view FileNameOfPath(std::wstring_view path, bool windowsRules)
{
    size_t nameStart = 0;
    for (size_t i = 0; i + 1 < path.size(); ++i)
        if (IsSeparator(path[i], windowsRules) && !IsSlash(path[i + 1], windowsRules))
            nameStart = i + 1;
    return path.substr(nameStart);
}

bool IsBareDrive(std::wstring_view path, bool windowsRules)
{
    if (!windowsRules || path.size() != 2 || path[1] != L':')
        return false;
    const wchar_t letter = path[0];
    return (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
}
