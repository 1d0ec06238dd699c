#include <gtest/gtest.h>

#include "LoadingProgressBar.h"
#include "SelectFolderLayout.h"
#include "ShellChildrenRules.h"
#include "ShellPathParts.h"

#include <string>
#include <vector>

using Parts = std::vector<std::wstring>;

TEST(AccumulatedPathParts, DriveFirstThenJoinedPartsWhateverTheSeparators)
{
    EXPECT_EQ(AccumulatedPathParts(L"C:\\Work\\src"), (Parts{L"C:\\", L"C:\\Work", L"C:\\Work\\src"}));
    EXPECT_EQ(AccumulatedPathParts(L"c:/Work/src/"), (Parts{L"c:\\", L"c:\\Work", L"c:\\Work\\src"}));
    EXPECT_EQ(AccumulatedPathParts(L"C:\\"), (Parts{L"C:\\"}));
    EXPECT_EQ(AccumulatedPathParts(L"C:"), (Parts{L"C:\\"}));
    // Doubled separators give no empty level that the shell would be asked for.
    EXPECT_EQ(AccumulatedPathParts(L"C:\\\\a//b\\"), (Parts{L"C:\\", L"C:\\a", L"C:\\a\\b"}));
    EXPECT_EQ(AccumulatedPathParts(L""), Parts{});
    EXPECT_EQ(AccumulatedPathParts(L"\\\\"), Parts{});
}

TEST(LoadingFillWidth, KnownTotalsAreProportionalAndUnknownOnesApproachTheFullWidth)
{
    EXPECT_EQ(LoadingFillWidth(0, 0, 50), 0);
    EXPECT_EQ(LoadingFillWidth(1, 0, 50), 8);
    EXPECT_EQ(LoadingFillWidth(2, 0, 50), 16);
    EXPECT_EQ(LoadingFillWidth(5, 0, 50), 34);
    EXPECT_EQ(LoadingFillWidth(10, 0, 50), 47);
    int last = 0;
    for (int n = 0; n < 5000; n += 7) {
        int width = LoadingFillWidth(n, 0, 50);
        EXPECT_GE(width, last) << n;
        EXPECT_LE(width, 50) << n;
        last = width;
    }
    // Where e^(0.4 n) overflows a double the bar is full, not empty or garbage.
    EXPECT_EQ(LoadingFillWidth(2000, 0, 50), 50);
    EXPECT_EQ(LoadingFillWidth(2147483647, 0, 50), 50);

    EXPECT_EQ(LoadingFillWidth(1, 1, 50), 50);
    EXPECT_EQ(LoadingFillWidth(1, 4, 50), 12);
    // A count past the total never paints outside the frame.
    EXPECT_EQ(LoadingFillWidth(9, 4, 50), 50);
}

TEST(LayoutSelectFolder, KeepsButtonsBottomRightAndGivesTheTreeTheRest)
{
    SelectFolderControls now;
    now.prompt = {11, 11, 380, 24};
    now.tree = {11, 26, 420, 240};
    now.filterLabel = {11, 245, 101, 258};
    now.filterCombo = {11, 260, 420, 282};
    now.scanCheck = {11, 296, 112, 312};
    now.ok = {254, 288, 329, 311};
    now.cancel = {335, 288, 410, 311};
    now.sizeGrip = {0, 0, 200, 200};

    SelectFolderControls out = LayoutSelectFolder(now, 600, 500, 17, 17);
    EXPECT_EQ(out.prompt, (LayoutRect{11, 11, 590, 24}));
    EXPECT_EQ(out.sizeGrip, (LayoutRect{583, 483, 600, 500}));
    EXPECT_EQ(out.scanCheck, (LayoutRect{11, 474, 112, 490}));
    EXPECT_EQ(out.cancel, (LayoutRect{515, 467, 590, 490}));
    EXPECT_EQ(out.ok, (LayoutRect{434, 467, 509, 490}));
    // Label bottom at H - combo height - OK height - 18; combo bottom at H - OK height - 16.
    EXPECT_EQ(out.filterLabel, (LayoutRect{11, 424, 101, 437}));
    EXPECT_EQ(out.filterCombo, (LayoutRect{11, 439, 590, 461}));
    EXPECT_EQ(out.tree, (LayoutRect{11, 26, 590, 420}));

    // Laying out again for the same size changes nothing.
    EXPECT_EQ(LayoutSelectFolder(out, 600, 500, 17, 17).tree, out.tree);
}

TEST(ShellChildrenRules, RemovableDrivesGetAButtonUnreadAndAreReadAgainWhenFoundEmpty)
{
    int asked = 0;
    auto hasSubfolders = [&] { ++asked; return true; };
    auto noSubfolders = [&] { ++asked; return false; };
    // A removable drive, or a tree that lists files, is never asked.
    EXPECT_TRUE(ShowsChildrenButton(true, false, true, noSubfolders));
    EXPECT_TRUE(ShowsChildrenButton(true, true, false, noSubfolders));
    EXPECT_EQ(asked, 0);
    // A fixed folder shows what the shell reports; a file never has a button.
    EXPECT_TRUE(ShowsChildrenButton(true, false, false, hasSubfolders));
    EXPECT_FALSE(ShowsChildrenButton(true, false, false, noSubfolders));
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(ShowsChildrenButton(false, true, true, hasSubfolders));
    EXPECT_EQ(asked, 2);

    // Read on a fixed drive, or outside any drive (virtual folders): kept.
    EXPECT_TRUE(KeepsLoadedChildren(true, true, true));
    EXPECT_TRUE(KeepsLoadedChildren(true, false, false));
    // Read on a removable or network drive: read again next time if empty.
    EXPECT_FALSE(KeepsLoadedChildren(true, true, false));
    // A folder that could not be enumerated settles as it is, wherever it lies.
    EXPECT_TRUE(KeepsLoadedChildren(false, true, false));
}
