#pragma once
// Free functions: LoadResourceString, the text of one string-table entry.
#include <windows.h>
#include <optional>
#include <string>

// Empty when the module has no string with this id.
std::optional<std::wstring> LoadResourceString(HINSTANCE module, UINT id);
