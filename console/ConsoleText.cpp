#include "ConsoleText.h"

std::wstring FormatNumber(size_t value, size_t width)
{
    std::wstring digits;
    do {
        digits.insert(digits.begin(), wchar_t(L'0' + value % 10));
        value /= 10;
    } while (value != 0);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), L' ');
    return digits;
}

std::wstring PadRight(std::wstring_view text, size_t width)
{
    std::wstring padded(text);
    if (padded.size() < width)
        padded.append(width - padded.size(), L' ');
    return padded;
}
