#pragma once
// The folder paths that lead down to a path, one per level, as the shell is
// asked for them while the folder tree is opened along the path:
// "c:/Work/src" gives "c:\", "c:\Work", "c:\Work\src". Forward slashes count
// as backslashes; empty parts (doubled or trailing separators) are skipped.
#include <string>
#include <vector>

std::vector<std::wstring> AccumulatedPathParts(const std::wstring& path);
