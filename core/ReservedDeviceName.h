#pragma once
// Windows opens a device, not a file, for the names CON, PRN, AUX, NUL,
// COM1-COM9 and LPT1-LPT9 in any folder, with or without an extension
// ("nul.txt" is the null device too).
#include <string_view>

// Whether the last component of `path` is such a name (letter case, an
// extension and trailing blanks or dots do not matter).
bool IsReservedDeviceName(std::wstring_view path);
