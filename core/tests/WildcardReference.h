#pragma once
// The plain recursive wildcard walk: every "*" tries each run length, longest
// first, with no memory of earlier attempts. Exponential on hostile patterns,
// so use it only on short inputs; it is the yardstick the fast matcher and the
// fuzz target are compared with.
#include <string_view>

#include "FileNameFilter.h"

namespace reference {

inline bool Same(wchar_t a, wchar_t b)
{
    return unsigned(LowerAsciiLetter(a)) == unsigned(LowerAsciiLetter(b));
}

inline bool InRange(wchar_t lo, wchar_t c, wchar_t hi)
{
    const unsigned l = unsigned(LowerAsciiLetter(lo)), u = unsigned(LowerAsciiLetter(c)),
                   h = unsigned(LowerAsciiLetter(hi));
    return l <= u && u <= h;
}

inline bool Walk(std::wstring_view p, std::wstring_view n);

// Matches one set against n[0]; `p` starts just after "[".
inline bool WalkSet(std::wstring_view p, std::wstring_view n)
{
    bool negated = false;
    if (!p.empty() && p[0] == L'!') {
        negated = true;
        p.remove_prefix(1);
    }
    bool found = false;
    size_t i = 0;
    for (;;) {
        if (i >= p.size())
            return false;
        if (p[i] == L']')
            break;
        if (p[i] == L'`' && ++i >= p.size())
            return false;
        const wchar_t lo = p[i++];
        wchar_t hi = lo;
        if (i < p.size() && p[i] == L'-') {
            if (++i < p.size() && p[i] == L'`')
                ++i;
            if (i >= p.size())
                return false;
            hi = p[i++];
        }
        if (i >= p.size())
            return false;
        if (!n.empty() && InRange(lo, n[0], hi))
            found = true;
    }
    if (n.empty() || found == negated)
        return false;
    return Walk(p.substr(i + 1), n.substr(1));
}

inline bool Walk(std::wstring_view p, std::wstring_view n)
{
    if (p.empty())
        return n.empty();
    const wchar_t c = p[0];
    const std::wstring_view rest = p.substr(1);
    if (c == L'*' || c == L'\x1A') {
        size_t longest = n.size();
        if (c == L'\x1A') {
            const size_t dot = n.find(L'.');
            if (dot != std::wstring_view::npos)
                longest = dot;
        }
        for (size_t run = longest + 1; run-- > 0;)
            if (Walk(rest, n.substr(run)))
                return true;
        return false;
    }
    if (c == L'!')
        return !rest.empty() && !Walk(rest, n);
    if (c == L'[')
        return WalkSet(rest, n);
    if (n.empty())
        return false;
    if (c == L'?')
        return Walk(rest, n.substr(1));
    if (c == L'`')
        return !rest.empty() && Same(rest[0], n[0]) && Walk(rest.substr(1), n.substr(1));
    return Same(c, n[0]) && Walk(rest, n.substr(1));
}

// Whether the pattern ends after a whole element: not inside an escape, a set,
// or right after a "!".
inline bool WellFormed(std::wstring_view p)
{
    size_t i = 0;
    while (i < p.size()) {
        const wchar_t c = p[i++];
        if (c == L'`' || c == L'!') {
            if (i == p.size())
                return false;
            if (c == L'`')
                ++i;
        } else if (c == L'[') {
            if (i < p.size() && p[i] == L'!')
                ++i;
            bool closed = false;
            while (i < p.size() && !closed) {
                if (p[i] == L']') {
                    closed = true;
                    ++i;
                    break;
                }
                if (p[i] == L'`')
                    ++i;
                if (++i > p.size())
                    return false;
                if (i < p.size() && p[i] == L'-') {
                    if (++i < p.size() && p[i] == L'`')
                        ++i;
                    if (++i > p.size())
                        return false;
                }
            }
            if (!closed)
                return false;
        }
    }
    return true;
}

// A pattern that ends inside an element fails as a whole, negated or not.
inline bool Match(std::wstring_view p, std::wstring_view n)
{
    return WellFormed(p) && Walk(p, n);
}

}  // namespace reference
