#include "TipText.h"

std::optional<std::wstring> TipTextFromResource(std::optional<std::wstring_view> resource)
{
    if (!resource) return std::nullopt;
    const std::wstring_view text = *resource;
    const std::size_t first = text.find(L'\n');
    if (first == std::wstring_view::npos) return std::wstring();
    const std::wstring_view rest = text.substr(first + 1);
    return std::wstring(rest.substr(0, rest.find(L'\n')));
}

std::wstring_view FitToBuffer(std::wstring_view text, std::size_t capacity)
{
    if (capacity == 0) return {};
    if (text.size() < capacity) return text;
    std::size_t length = capacity - 1;
    // A high surrogate at the cut would be left without its partner.
    if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
    return text.substr(0, length);
}
