#include "FileNameFilter.h"

#include <array>
#include <cstdint>
#include <cwchar>

namespace {

constexpr wchar_t kSeparator = L';';
constexpr wchar_t kAnyRun = L'*';
constexpr wchar_t kAnyRunWithoutDot = L'\x1A';
constexpr wchar_t kAnyOne = L'?';
constexpr wchar_t kSetOpen = L'[';
constexpr wchar_t kSetClose = L']';
constexpr wchar_t kSetRange = L'-';
constexpr wchar_t kEscape = L'`';
constexpr wchar_t kNegate = L'!';
constexpr wchar_t kDot = L'.';
constexpr std::wstring_view kMatchEverything = L"*";

// Characters compare as code units, whatever the width or signedness of wchar_t.
uint32_t LowerUnit(wchar_t c) { return uint32_t(LowerAsciiLetter(c)); }

void SplitPatterns(std::wstring_view text, bool caseSensitive, std::vector<std::wstring>& patterns)
{
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(kSeparator, start);
        if (end == std::wstring_view::npos)
            end = text.size();
        if (end > start) {
            std::wstring piece(text.substr(start, end - start));
            if (!caseSensitive)
                for (wchar_t& c : piece)
                    c = LowerAsciiLetter(c);
            patterns.push_back(std::move(piece));
        }
        start = end + 1;
    }
}

bool MatchesAny(const std::vector<std::wstring>& patterns, std::wstring_view name)
{
    for (const std::wstring& pattern : patterns)
        if (MatchWildcard(pattern, name))
            return true;
    return false;
}

// A short array on the stack, or the heap when the request is larger; keeps the
// matcher free of allocations for ordinary names and patterns.
template <class T, size_t LocalSize>
class CScratch {
public:
    explicit CScratch(size_t size)
    {
        if (size > LocalSize)
            m_heap.resize(size);
        m_data = size > LocalSize ? m_heap.data() : m_local.data();
    }
    CScratch(const CScratch&) = delete;
    CScratch& operator=(const CScratch&) = delete;
    T& operator[](size_t i) { return m_data[i]; }

private:
    std::array<T, LocalSize> m_local{};
    std::vector<T> m_heap;
    T* m_data;
};

// Where the pattern element that starts at `start` ends. Elements are walked
// from the front, so every position the matcher can reach is an element start.
// `complete` is false for an element the pattern ends inside of (an escape, a
// negation or a set with nothing after it): such an element never matches.
size_t ElementEnd(std::wstring_view pattern, size_t start, bool& complete)
{
    const size_t size = pattern.size();
    complete = true;
    switch (pattern[start]) {
    case kEscape:
        complete = start + 1 < size;
        return complete ? start + 2 : size;
    case kNegate:
        complete = start + 1 < size;
        return start + 1;
    case kSetOpen: {
        size_t i = start + 1;
        if (i < size && pattern[i] == kNegate)
            ++i;
        while (i < size && pattern[i] != kSetClose) {
            if (pattern[i] == kEscape)
                ++i;
            if (i++ >= size)
                break;
            if (i < size && pattern[i] == kSetRange) {
                if (++i < size && pattern[i] == kEscape)
                    ++i;
                if (i++ >= size)
                    break;
            }
        }
        complete = i < size;
        return complete ? i + 1 : size;
    }
    default:
        return start + 1;
    }
}

// Whether `c` is one of the characters of the complete set element [start, end).
bool SetHolds(std::wstring_view pattern, size_t start, size_t end, wchar_t c)
{
    size_t i = start + 1;
    const bool negated = pattern[i] == kNegate;
    if (negated)
        ++i;
    const uint32_t unit = LowerUnit(c);
    bool found = false;
    while (i < end - 1) {
        if (pattern[i] == kEscape)
            ++i;
        const uint32_t lo = LowerUnit(pattern[i++]);
        uint32_t hi = lo;
        if (pattern[i] == kSetRange) {
            if (pattern[++i] == kEscape)
                ++i;
            hi = LowerUnit(pattern[i++]);
        }
        found = found || (lo <= unit && unit <= hi);
    }
    return found != negated;
}

// Fills `row` (whether element [start, end) followed by the rest of the pattern
// matches name[n..]) from `next`, the same for the rest of the pattern alone.
void MatchElementRow(std::wstring_view pattern, size_t start, size_t end, std::wstring_view name,
                     const uint8_t* next, uint8_t* row)
{
    const size_t length = name.size();
    const wchar_t element = pattern[start];
    if (element == kAnyRun || element == kAnyRunWithoutDot) {
        // A run may end anywhere from here on; the dot-free run stops before a ".".
        row[length] = next[length];
        for (size_t n = length; n-- > 0;) {
            const bool runMayGrow = element == kAnyRun || name[n] != kDot;
            row[n] = next[n] || (runMayGrow && row[n + 1]);
        }
        return;
    }
    if (element == kNegate) {
        for (size_t n = 0; n <= length; ++n)
            row[n] = !next[n];
        return;
    }
    row[length] = 0;
    for (size_t n = 0; n < length; ++n) {
        bool one;
        if (element == kAnyOne)
            one = true;
        else if (element == kSetOpen)
            one = SetHolds(pattern, start, end, name[n]);
        else
            one = LowerUnit(pattern[element == kEscape ? start + 1 : start]) == LowerUnit(name[n]);
        row[n] = one && next[n + 1];
    }
}

}  // namespace

int CFileNameFilter::Set(const wchar_t* include, const wchar_t* exclude, int caseSensitive)
{
    m_include = include ? include : L"";
    m_exclude = exclude ? exclude : L"";
    m_caseSensitive = caseSensitive != 0;
    m_includePatterns.clear();
    m_excludePatterns.clear();
    SplitPatterns(m_include, m_caseSensitive, m_includePatterns);
    SplitPatterns(m_exclude, m_caseSensitive, m_excludePatterns);
    return 0;
}

bool CFileNameFilter::Match(std::wstring_view name) const
{
    // The matcher folds A-Z on both sides of every comparison, so the name is
    // matched as given: a lower-cased copy would give the same answers.

    // An empty filter takes nothing; only the whole string "*" takes everything.
    bool included = false;
    if (m_include == kMatchEverything)
        included = true;
    else if (!m_include.empty())
        included = MatchesAny(m_includePatterns, name);
    if (!included)
        return false;

    if (m_exclude == kMatchEverything)
        return false;
    return m_exclude.empty() || !MatchesAny(m_excludePatterns, name);
}

bool MatchWildcard(const wchar_t* pattern, const wchar_t* name)
{
    if (!pattern || !name)
        return false;
    return MatchWildcard(std::wstring_view(pattern), std::wstring_view(name));
}

// The answer of the plain recursive walk (each "*" trying every run length),
// computed bottom-up instead: one row per pattern element, from the last element
// to the first, each row holding the result for every position in the name.
// Time is elements x name length; no recursion, so long patterns cannot exhaust
// the stack.
bool MatchWildcard(std::wstring_view pattern, std::wstring_view name)
{
    return MatchWildcard(pattern, name, nullptr);
}

bool MatchWildcard(std::wstring_view pattern, std::wstring_view name, uint64_t* steps)
{
    const size_t rowSize = name.size() + 1;
    CScratch<uint32_t, 64> starts(pattern.size() + 1);
    size_t elements = 0;
    for (size_t at = 0; at < pattern.size(); ++elements) {
        bool complete;
        starts[elements] = uint32_t(at);
        at = ElementEnd(pattern, at, complete);
        // A pattern that ends inside an element fails as a whole: a "!"
        // before it must not turn that failure into a match.
        if (!complete)
            return false;
    }
    starts[elements] = uint32_t(pattern.size());

    CScratch<uint8_t, 512> rows(2 * rowSize);
    uint8_t* next = &rows[0];
    uint8_t* row = &rows[rowSize];
    for (size_t n = 0; n < rowSize; ++n)
        next[n] = n == name.size();  // the end of the pattern takes only the end of the name
    for (size_t e = elements; e-- > 0;) {
        bool complete;
        const size_t end = ElementEnd(pattern, starts[e], complete);
        MatchElementRow(pattern, starts[e], end, name, next, row);
        if (steps)
            *steps += rowSize;
        std::swap(next, row);
    }
    return next[0] != 0;
}
