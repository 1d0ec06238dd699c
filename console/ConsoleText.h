#pragma once
// The two column layouts of QLTC's lines: a number right-aligned ("%4d") and a
// word left-aligned with blanks after it ("%-12s"). Wider values widen the field.
#include <cstddef>
#include <string>
#include <string_view>

std::wstring FormatNumber(size_t value, size_t width);
std::wstring PadRight(std::wstring_view text, size_t width);
