#pragma once
// Free functions: ProcessArguments, the process's arguments without the
// program name, split by the system's rules for wide command lines.
#include <string>
#include <vector>

std::vector<std::wstring> ProcessArguments();
