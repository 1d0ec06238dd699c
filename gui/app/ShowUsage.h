#pragma once
// Free functions: ShowUsage, the command-line help in a message box.
#include <string>

void ShowUsage(const std::wstring& caption);
