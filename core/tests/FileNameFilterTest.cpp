#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "FileNameFilter.h"
#include "WildcardReference.h"

namespace {

bool Accepts(const wchar_t* include, const wchar_t* exclude, std::wstring_view name)
{
    CFileNameFilter filter;
    EXPECT_EQ(0, filter.Set(include, exclude, 0));
    return filter.Match(name);
}

std::wstring RandomText(std::mt19937& random, std::wstring_view alphabet, size_t maxLength)
{
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::wstring text(length(random), L' ');
    for (wchar_t& c : text)
        c = alphabet[pick(random)];
    return text;
}

}  // namespace

TEST(MatchWildcard, ExampleTable)
{
    struct Case {
        const wchar_t* pattern;
        const wchar_t* name;
        bool match;
    };
    const Case cases[] = {
        {L"*.cpp", L"main.cpp", true},        {L"*.cpp", L"a.b.cpp", true},
        {L"*.cpp", L"main.cpp.bak", false},   {L"*.CPP", L"Main.cpp", true},
        {L"*.*", L"makefile", false},         {L"a?c", L"abc", true},
        {L"a?c", L"ac", false},               {L"[a-c]*", L"beta.txt", true},
        {L"[!a-c]*", L"beta.txt", false},     {L"file`[1`].txt", L"file[1].txt", true},
        {L"!*.bak", L"x.txt", true},          {L"!*.bak", L"x.bak", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.match, MatchWildcard(c.pattern, c.name)) << c.pattern << L" / " << c.name;
}

TEST(MatchWildcard, ElementsAtTheirEdges)
{
    // "!", a backquote or a set that the pattern ends inside never match.
    EXPECT_FALSE(MatchWildcard(L"!", L""));
    EXPECT_FALSE(MatchWildcard(L"!", L"x"));
    EXPECT_FALSE(MatchWildcard(L"a!", L"a"));
    EXPECT_FALSE(MatchWildcard(L"a`", L"a`"));
    EXPECT_FALSE(MatchWildcard(L"[abc", L"a"));
    EXPECT_FALSE(MatchWildcard(L"[a-", L"a"));
    EXPECT_FALSE(MatchWildcard(L"[a-]", L"a"));
    // Negation anywhere in the pattern, of whatever follows it.
    EXPECT_TRUE(MatchWildcard(L"a!b*", L"ac"));
    EXPECT_FALSE(MatchWildcard(L"a!b*", L"abc"));
    // An unfinished element after "!" fails the match; it is not negated into one.
    EXPECT_FALSE(MatchWildcard(L"![abc", L"a"));
    EXPECT_FALSE(MatchWildcard(L"!!", L"x.png"));
    EXPECT_FALSE(MatchWildcard(L"!*.txt`", L"x.png"));
    EXPECT_FALSE(MatchWildcard(L"!x[", L"y"));
    // Sets never match at the end of the name; empty sets take nothing or anything.
    EXPECT_FALSE(MatchWildcard(L"[!a]", L""));
    EXPECT_FALSE(MatchWildcard(L"a[!b]", L"a"));
    EXPECT_FALSE(MatchWildcard(L"[]", L"x"));
    EXPECT_TRUE(MatchWildcard(L"[!]", L"x"));
    EXPECT_FALSE(MatchWildcard(L"[]]", L"]"));
    EXPECT_TRUE(MatchWildcard(L"[!]]", L"x]"));
    EXPECT_FALSE(MatchWildcard(L"[c-a]", L"b"));
    EXPECT_TRUE(MatchWildcard(L"[`]`-]", L"-"));
    EXPECT_TRUE(MatchWildcard(L"[+-`]]", L"]"));
    EXPECT_TRUE(MatchWildcard(L"[A-C]", L"b"));
    // The escape takes the next character literally, star and bracket included.
    EXPECT_TRUE(MatchWildcard(L"`*", L"*"));
    EXPECT_FALSE(MatchWildcard(L"`*", L"x"));
    EXPECT_TRUE(MatchWildcard(L"``", L"`"));
    // U+001A is a run that stops before the first dot.
    EXPECT_TRUE(MatchWildcard(L"\x1A.txt", L"readme.txt"));
    EXPECT_FALSE(MatchWildcard(L"\x1A.txt", L"read.me.txt"));
    EXPECT_TRUE(MatchWildcard(L"\x1A", L"makefile"));
    EXPECT_FALSE(MatchWildcard(L"\x1A", L"a.b"));
    // Null stands for "no string" and matches nothing.
    EXPECT_FALSE(MatchWildcard(nullptr, L"x"));
    EXPECT_FALSE(MatchWildcard(L"*", nullptr));
    // Folding covers A-Z only.
    EXPECT_FALSE(MatchWildcard(L"\u00E4*", L"\u00C4rger"));
    EXPECT_TRUE(MatchWildcard(L"\u00E4*", L"\u00E4rger"));
}

TEST(MatchWildcard, AgreesWithRecursiveWalkOnRandomInput)
{
    std::mt19937 random(20261207);
    const std::wstring patternAlphabet = L"ab.*?[]!`-\x1A" L"aB";
    const std::wstring nameAlphabet = L"abAB.*[]!`-\x1A";
    int matches = 0;
    for (int i = 0; i < 200000; ++i) {
        const std::wstring pattern = RandomText(random, patternAlphabet, 9);
        const std::wstring name = RandomText(random, nameAlphabet, 8);
        const bool expected = reference::Match(pattern, name);
        ASSERT_EQ(expected, MatchWildcard(pattern, name))
            << "pattern \"" << pattern << "\" name \"" << name << "\"";
        matches += expected;
    }
    // Both outcomes must be common for the comparison to mean anything.
    EXPECT_GT(matches, 5000);
    EXPECT_LT(matches, 195000);
}

// Patterns that make a plain recursive walk explode cost at most one step
// per element and name position.
TEST(MatchWildcard, ManyStarsAnswerAtOnce)
{
    const std::wstring name(250, L'a');
    struct SCase {
        std::wstring pattern, name;
        bool matches;
    };
    const SCase cases[] = {
        {L"*a*a*a*a*a*a*a*a*a*b", name, false},
        {L"*a*a*a*a*a*a*a*a*a*", name, true},
        {std::wstring(20000, L'!') + L"*b", name, false},
        {std::wstring(5000, L'*') + L"b", std::wstring(5000, L'a'), false},
    };
    for (const SCase& c : cases) {
        uint64_t steps = 0;
        EXPECT_EQ(c.matches, MatchWildcard(c.pattern, c.name, &steps));
        EXPECT_LE(steps, uint64_t(c.pattern.size()) * (c.name.size() + 1));
    }
}

TEST(CFileNameFilter, FilterStrings)
{
    EXPECT_TRUE(Accepts(L"*.h;*.cpp", nullptr, L"Main.CPP"));
    EXPECT_TRUE(Accepts(L"*.txt", nullptr, L"README.TXT"));
    EXPECT_FALSE(Accepts(L"*.txt", nullptr, L"readme.txtx"));
    // Nothing but separators, or nothing at all, takes no name; "*" takes any.
    EXPECT_FALSE(Accepts(L"", nullptr, L"x.txt"));
    EXPECT_FALSE(Accepts(nullptr, nullptr, L"x.txt"));
    EXPECT_FALSE(Accepts(L";;;", nullptr, L"x.txt"));
    EXPECT_TRUE(Accepts(L"*", nullptr, L"makefile"));
    EXPECT_TRUE(Accepts(L";*.c;;*.h;", nullptr, L"x.h"));
    // Pieces are taken as written: a blank after ";" starts the next pattern.
    EXPECT_FALSE(Accepts(L"*.h; *.cpp", nullptr, L"x.cpp"));
    EXPECT_TRUE(Accepts(L"*.h; *.cpp", nullptr, L" x.cpp"));
    // Exclusions.
    EXPECT_FALSE(Accepts(L"*", L"*", L"x.txt"));
    EXPECT_FALSE(Accepts(L"*", L"*.bak", L"x.BAK"));
    EXPECT_TRUE(Accepts(L"*", L"*.bak", L"x.txt"));
    EXPECT_TRUE(Accepts(L"*.txt", L";", L"x.txt"));
}

TEST(CFileNameFilter, SetReplacesEverything)
{
    CFileNameFilter filter;
    filter.Set(L"*.a", L"x*", 0);
    EXPECT_FALSE(filter.Match(L"xy.a"));
    filter.Set(L"*.b", nullptr, 0);
    EXPECT_FALSE(filter.Match(L"y.a"));
    EXPECT_TRUE(filter.Match(L"xy.b"));
    // The matcher folds A-Z itself, so the flag does not make matching case-sensitive.
    filter.Set(L"*.B", nullptr, 1);
    EXPECT_TRUE(filter.Match(L"x.b"));
}
