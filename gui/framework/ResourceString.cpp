#include "ResourceString.h"

std::optional<std::wstring> LoadResourceString(HINSTANCE module, UINT id)
{
    // With a zero buffer size LoadStringW hands out a read-only pointer into
    // the resource itself, so strings of any length load without truncation.
    // The string table stores absent and empty entries alike (length 0), so
    // both count as "no string".
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || !text)
        return std::nullopt;
    return std::wstring(text, static_cast<size_t>(length));
}
