#pragma once
// Free functions: UsageText, the help text the program shows for "-h" or "-?".
#include <string>

std::wstring UsageText();
