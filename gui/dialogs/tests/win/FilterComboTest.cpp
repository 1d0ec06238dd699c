#include <gtest/gtest.h>

#include "CExtComboBox.h"
#include "DefaultFilterTable.h"
#include "FilterCombo.h"

#include <windows.h>

namespace {
constexpr int kComboId = 1013;

// An editable filter combo box in a plain top-level window.
class FilterComboFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent = ::CreateWindowExW(0, L"STATIC", L"Filter combo", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_parent, nullptr);
        ASSERT_TRUE(m_combo.Create(m_parent, kComboId, CBS_DROPDOWN | WS_VSCROLL | WS_VISIBLE, RECT{5, 5, 300, 200}));
    }
    void TearDown() override
    {
        if (m_parent)
            ::DestroyWindow(m_parent);
    }

    HWND m_parent = nullptr;
    CExtComboBox m_combo;
    std::vector<PresetFilter> m_presets = DefaultFilterTable();
};
}  // namespace

TEST_F(FilterComboFixture, FillsOneItemPerPresetAndShowsTheFirstFilterOnlyWhenAsked)
{
    FillFilterCombo(m_combo, m_presets, L"", true);
    ASSERT_EQ(m_combo.GetCount(), 20);
    EXPECT_EQ(m_combo.GetItemText(0), L"C/C++ Files (*.c;*.cpp;*.cxx;*.cc;*.h;*.hpp;*.hxx;*.inl)");
    EXPECT_EQ(m_combo.GetItemText(19), L"All Files (*)");
    LPARAM data = -1;
    ASSERT_TRUE(m_combo.GetItemData(19, data));
    EXPECT_EQ(data, 19);
    EXPECT_EQ(m_combo.GetEditText(), L"*.c;*.cpp;*.cxx;*.cc;*.h;*.hpp;*.hxx;*.inl");
}

TEST_F(FilterComboFixture, KeepsTheInitialFilterOrAnEmptyOneWhenTheFlagIsClear)
{
    m_combo.SetEditText(L"*.md");
    FillFilterCombo(m_combo, m_presets, L"*.md", true);
    EXPECT_EQ(m_combo.GetEditText(), L"*.md");

    CExtComboBox second;
    ASSERT_TRUE(second.Create(m_parent, kComboId + 1, CBS_DROPDOWN | WS_VISIBLE, RECT{5, 40, 300, 200}));
    FillFilterCombo(second, m_presets, L"", false);
    EXPECT_EQ(second.GetCount(), 20);
    EXPECT_EQ(second.GetEditText(), L"");
}

TEST_F(FilterComboFixture, AnEmptyPresetListGivesNoItems)
{
    FillFilterCombo(m_combo, {}, L"", true);
    EXPECT_EQ(m_combo.GetCount(), 0);
    EXPECT_EQ(m_combo.GetEditText(), L"");
    OnFilterComboSelChange(m_combo, {});
    EXPECT_EQ(m_combo.GetEditText(), L"");
}

TEST_F(FilterComboFixture, ChoosingAnItemPutsItsBareFilterIntoTheEditField)
{
    FillFilterCombo(m_combo, m_presets, L"", false);
    m_combo.SetCurSel(19);
    OnFilterComboSelChange(m_combo, m_presets);
    EXPECT_EQ(m_combo.GetEditText(), L"*");
    EXPECT_EQ(GetFilterComboResult(m_combo, m_presets), L"*");

    // The display text in the edit field (Wine's arrow keys) still reads as the filter.
    m_combo.SetEditText(L"Text Files (*.txt)");
    EXPECT_EQ(GetFilterComboResult(m_combo, m_presets), L"*.txt");
    m_combo.SetEditText(L"  *.txt ");
    EXPECT_EQ(GetFilterComboResult(m_combo, m_presets), L"  *.txt ");
}
