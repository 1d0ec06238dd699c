#include "ReservedDeviceName.h"

#include <array>

namespace {

wchar_t UpperAscii(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c;
}

bool EqualsUpper(std::wstring_view text, std::wstring_view upper)
{
    if (text.size() != upper.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (UpperAscii(text[i]) != upper[i])
            return false;
    return true;
}

}  // namespace

bool IsReservedDeviceName(std::wstring_view path)
{
    size_t start = path.find_last_of(L"\\/:");
    std::wstring_view name = start == std::wstring_view::npos ? path : path.substr(start + 1);
    // The device is named by what comes before the first dot; blanks before
    // the dot or at the end are dropped by the system as well.
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ')
        name.remove_suffix(1);
    constexpr std::array<std::wstring_view, 4> kPlain = {L"CON", L"PRN", L"AUX", L"NUL"};
    for (std::wstring_view device : kPlain)
        if (EqualsUpper(name, device))
            return true;
    if (name.size() == 4 && name[3] >= L'1' && name[3] <= L'9')
        return EqualsUpper(name.substr(0, 3), L"COM") || EqualsUpper(name.substr(0, 3), L"LPT");
    return false;
}
