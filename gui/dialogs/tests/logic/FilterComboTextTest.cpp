#include <gtest/gtest.h>

#include "DefaultFilterTable.h"
#include "FilterComboText.h"

TEST(FilterComboText, DisplayTextOfAnItemGivesItsFilterAndTypedTextStaysAsItIs)
{
    std::vector<PresetFilter> presets = DefaultFilterTable();
    EXPECT_EQ(FilterComboItemText(presets[17]), L"Text Files (*.txt)");
    EXPECT_EQ(FilterFromComboText(L"Text Files (*.txt)", presets), L"*.txt");
    EXPECT_EQ(FilterFromComboText(L"All Files (*)", presets), L"*");

    // Only an exact match is a display text: anything else was typed.
    EXPECT_EQ(FilterFromComboText(L"text files (*.txt)", presets), L"text files (*.txt)");
    EXPECT_EQ(FilterFromComboText(L"Text Files (*.txt) ", presets), L"Text Files (*.txt) ");
    EXPECT_EQ(FilterFromComboText(L"*.h;*.cpp", presets), L"*.h;*.cpp");
    EXPECT_EQ(FilterFromComboText(L"", presets), L"");
    EXPECT_EQ(FilterFromComboText(L"Text Files (*.txt)", {}), L"Text Files (*.txt)");
}
