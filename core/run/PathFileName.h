#pragma once
// The last component of a path, as QLTC prints it.
#include <string_view>

// The text after the last separator, or the whole path when it has none. A
// separator at the very end does not count, so "a/b/" gives "b/". With Windows
// rules "\", "/" and ":" separate (as PathFindFileNameW), otherwise only "/".
std::wstring_view FileNameOfPath(std::wstring_view path, bool windowsRules);

// Whether `path` is a drive letter and a colon alone ("Z:"). With Windows
// rules such a path means the drive's current folder, but as a folder to scan
// it stands for the drive's root.
bool IsBareDrive(std::wstring_view path, bool windowsRules);

#ifdef _WIN32
inline std::wstring_view FileNameOfPath(std::wstring_view path) { return FileNameOfPath(path, true); }
#else
inline std::wstring_view FileNameOfPath(std::wstring_view path) { return FileNameOfPath(path, false); }
#endif
