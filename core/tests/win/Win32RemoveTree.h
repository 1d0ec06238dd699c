#pragma once
// Removes a test's folder tree however deep it goes: the C++ library's
// remove_all stops at MAX_PATH on Windows, so this walks the tree through the
// "\\?\" form itself. Read-only entries are removed too; links to folders are
// removed without entering them.
#include <string>

// `folder` is absolute. True when nothing of it is left.
bool RemoveTreeForTest(const std::wstring& folder);
