#include "CGuiCommandLine.h"

#include <gtest/gtest.h>

using Args = std::vector<std::wstring>;

TEST(CGuiCommandLine, NoArgumentsLeavesEverythingUnset)
{
    CGuiCommandLine cl;
    EXPECT_EQ(cl.ParseCommandLine({}), 0);
    EXPECT_FALSE(cl.m_help);
    EXPECT_EQ(cl.m_format, -1);
    EXPECT_TRUE(cl.m_paths.empty());
    EXPECT_TRUE(cl.m_filter.empty());
    EXPECT_EQ(cl.m_keepTimestamps, -1);
    EXPECT_EQ(cl.m_keepAttributes, -1);
    EXPECT_EQ(cl.m_convertReadOnly, -1);
    EXPECT_EQ(cl.m_backupOriginal, -1);
    EXPECT_FALSE(cl.m_scanSubfolders || cl.m_autoStart || cl.m_autoClose);
}

TEST(CGuiCommandLine, OptionsWithValuesCountOnceAndPathsAreKeptVerbatim)
{
    CGuiCommandLine cl;
    EXPECT_EQ(cl.ParseCommandLine({L"-format", L"LF", L"-filter", L" \t*.txt;*.h  ", L"-ss", L"x", L"C:\\a b\\"}), 5);
    EXPECT_EQ(cl.m_format, 2);
    EXPECT_EQ(cl.m_filter, L"*.txt;*.h");
    EXPECT_TRUE(cl.m_scanSubfolders);
    EXPECT_EQ(cl.m_paths, (Args{L"x", L"C:\\a b\\"}));

    // A later filter replaces an earlier one; a later unknown format keeps the earlier one.
    CGuiCommandLine again;
    EXPECT_EQ(again.ParseCommandLine({L"/filter", L"*.a", L"-filter", L"*.b", L"-format", L"cr", L"-format",
                                      L"unix"}),
              4);
    EXPECT_EQ(again.m_filter, L"*.b");
    EXPECT_EQ(again.m_format, 1);
    EXPECT_TRUE(again.m_paths.empty()) << "a format value is never a path";
}

TEST(CGuiCommandLine, SwitchesSetTheirFieldsAndUnknownWordsAreIgnored)
{
    CGuiCommandLine cl;
    EXPECT_EQ(cl.ParseCommandLine({L"-kt", L"/ka", L"-cr", L"-bo", L"-as", L"-ac", L"-zz", L"-", L"/KT"}), 6);
    EXPECT_EQ(cl.m_keepTimestamps, 1);
    EXPECT_EQ(cl.m_keepAttributes, 1);
    EXPECT_EQ(cl.m_convertReadOnly, 1);
    EXPECT_EQ(cl.m_backupOriginal, 1);
    EXPECT_TRUE(cl.m_autoStart);
    EXPECT_TRUE(cl.m_autoClose);
    EXPECT_FALSE(cl.m_scanSubfolders);
    EXPECT_TRUE(cl.m_paths.empty());
}

TEST(CGuiCommandLine, OptionWordsAreCaseSensitiveButFormatValuesAreNot)
{
    CGuiCommandLine upper;
    EXPECT_EQ(upper.ParseCommandLine({L"-FORMAT", L"lf"}), 1) << "unknown option, then a path";
    EXPECT_EQ(upper.m_format, -1);
    EXPECT_EQ(upper.m_paths, (Args{L"lf"}));

    CGuiCommandLine value;
    EXPECT_EQ(value.ParseCommandLine({L"-format", L"CrLf"}), 1);
    EXPECT_EQ(value.m_format, 0);
}

TEST(CGuiCommandLine, ValueOptionsAsLastArgumentAreIgnored)
{
    CGuiCommandLine filterOnly;
    EXPECT_EQ(filterOnly.ParseCommandLine({L"-filter"}), 0);
    EXPECT_TRUE(filterOnly.m_filter.empty());

    CGuiCommandLine formatLast;
    EXPECT_EQ(formatLast.ParseCommandLine({L"a.txt", L"-format"}), 1);
    EXPECT_EQ(formatLast.m_format, -1);

    // An unrecognised value still counts, so the window gets the command line.
    CGuiCommandLine unknownValue;
    EXPECT_EQ(unknownValue.ParseCommandLine({L"-format", L"mac"}), 1);
    EXPECT_EQ(unknownValue.m_format, -1);
}

TEST(CGuiCommandLine, HelpIsSetButNotCounted)
{
    CGuiCommandLine cl;
    EXPECT_EQ(cl.ParseCommandLine({L"-h", L"-format", L"lf", L"file.txt"}), 2);
    EXPECT_TRUE(cl.m_help);
    EXPECT_EQ(cl.m_format, 2);

    CGuiCommandLine question;
    EXPECT_EQ(question.ParseCommandLine({L"/?"}), 0);
    EXPECT_TRUE(question.m_help);
    CGuiCommandLine capital;
    capital.ParseCommandLine({L"-H"});
    EXPECT_FALSE(capital.m_help);
}
