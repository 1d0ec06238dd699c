#include <gtest/gtest.h>

#include "TipText.h"

TEST(TipText, SecondNewlinePartOfTheString)
{
    EXPECT_EQ(TipTextFromResource(L"\nAdd files to convert"), L"Add files to convert");
    EXPECT_EQ(TipTextFromResource(L"Prompt\nTip\nmore"), L"Tip");
    EXPECT_EQ(TipTextFromResource(L"Prompt\n"), L"");
    EXPECT_EQ(TipTextFromResource(L"No line break"), L"");
    EXPECT_EQ(TipTextFromResource(std::nullopt), std::nullopt);
}

TEST(TipText, FitToBufferKeepsRoomForTheTerminatorAndWholeSurrogatePairs)
{
    const std::wstring tip(100, L'x');
    EXPECT_EQ(FitToBuffer(tip, kTipRequestChars).size(), kTipRequestChars - 1);
    EXPECT_EQ(FitToBuffer(L"short", kTipRequestChars), L"short");
    EXPECT_EQ(FitToBuffer(L"abcd", 5), L"abcd");
    EXPECT_EQ(FitToBuffer(L"abcd", 0), L"");

    // U+1F600 as a surrogate pair straddling the cut is dropped whole.
    const std::wstring pair = std::wstring(L"ab") + wchar_t(0xD83D) + wchar_t(0xDE00);
    EXPECT_EQ(FitToBuffer(pair, 4), L"ab");
    EXPECT_EQ(FitToBuffer(pair, 5), pair);
}
