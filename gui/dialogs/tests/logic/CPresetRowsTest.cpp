#include <gtest/gtest.h>

#include "CPresetRows.h"
#include "DefaultFilterTable.h"

TEST(CPresetRows, OnlyRealChangesSetTheFlagAndRowsComeBackInRowOrder)
{
    CPresetRows rows;
    std::vector<CPresetRows::Key> keys = rows.Load({{L"Text", L"*.txt"}, {L"C", L"*.c"}, {L"Lua", L"*.lua"}});
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_FALSE(rows.Changed());

    // Equal texts change nothing; a change of letter case is a change.
    EXPECT_FALSE(rows.Edit(keys[0], {L"Text", L"*.txt"}));
    EXPECT_FALSE(rows.Changed());
    EXPECT_TRUE(rows.Edit(keys[0], {L"TEXT", L"*.txt"}));
    EXPECT_TRUE(rows.Changed());

    CPresetRows::Key added = rows.Add({L" ", L"not a [filter"});
    EXPECT_TRUE(rows.Remove(keys[1]));
    EXPECT_FALSE(rows.Remove(keys[1]));
    EXPECT_EQ(rows.Find(keys[1]), nullptr);
    EXPECT_FALSE(rows.Edit(keys[1], {L"x", L"y"}));

    // The rows' order decides, whatever order the entries were made in.
    std::vector<PresetFilter> expected{{L" ", L"not a [filter"}, {L"Lua", L"*.lua"}, {L"TEXT", L"*.txt"}};
    EXPECT_EQ(rows.Collect({added, keys[2], keys[0]}), expected);
}

TEST(CPresetRows, KeysOfAnEarlierLoadNeverReachTheNewEntries)
{
    CPresetRows rows;
    std::vector<CPresetRows::Key> first = rows.Load({{L"Mine", L"*.mine"}});
    std::vector<CPresetRows::Key> defaults = rows.Load(DefaultFilterTable());
    EXPECT_EQ(rows.Find(first[0]), nullptr);
    EXPECT_EQ(rows.Collect(defaults), DefaultFilterTable());
    EXPECT_EQ(rows.Collect(first), std::vector<PresetFilter>{});
}
