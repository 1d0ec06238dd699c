#pragma once
// Decides which file names a filter string such as "*.h;*.cpp" accepts.
#include <string>
#include <cstdint>
#include <string_view>
#include <vector>

class CFileNameFilter {
public:
    // Replaces the whole filter. `exclude` may be null. Returns 0.
    int Set(const wchar_t* include, const wchar_t* exclude, int caseSensitive);
    // True if `name` (a file name, no folder) is included and not excluded.
    bool Match(std::wstring_view name) const;

private:
    std::wstring m_include;
    std::wstring m_exclude;
    bool m_caseSensitive = false;
    std::vector<std::wstring> m_includePatterns;
    std::vector<std::wstring> m_excludePatterns;
};

// One pattern against one name; false if either is null.
bool MatchWildcard(const wchar_t* pattern, const wchar_t* name);
bool MatchWildcard(std::wstring_view pattern, std::wstring_view name);
// The same, adding to `steps` the number of name positions it evaluated: the
// work grows with elements times name length, never exponentially.
bool MatchWildcard(std::wstring_view pattern, std::wstring_view name, uint64_t* steps);

// Lower-cases A-Z only; every other character stays as it is.
inline wchar_t LowerAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c + 32) : c; }
