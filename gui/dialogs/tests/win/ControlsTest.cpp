#include <gtest/gtest.h>

#include "CTestControlsDlg.h"
#include "Screenshot.h"
#include "TestResource.h"

#include <commctrl.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {
HDITEMW HeaderItem(const CSortListCtrl& list, int column)
{
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    Header_GetItem(list.GetHeader(), column, &item);
    return item;
}

// A real click on a column header: the header reports it to the list.
void ClickHeader(const CSortListCtrl& list, int column)
{
    HWND header = list.GetHeader();
    RECT rect{};
    Header_GetItemRect(header, column, &rect);
    LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(header, WM_LBUTTONUP, 0, at);
}

std::vector<std::wstring> ColumnTexts(const CSortListCtrl& list, int column)
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < list.GetItemCount(); ++i)
        texts.push_back(list.GetItemText(i, column));
    return texts;
}

// As a click on the arrow does it: the combo box inside drops its list.
void ShowDropDown(const CExtComboBox& combo, bool show)
{
    ::SendMessageW(combo.GetComboControl(), CB_SHOWDROPDOWN, show, 0);
}

int DroppedWidth(const CExtComboBox& combo)
{
    return static_cast<int>(::SendMessageW(combo.GetComboControl(), CB_GETDROPPEDWIDTH, 0, 0));
}

bool ShowsArrow(const HDITEMW& item, int image)
{
    return (item.fmt & HDF_IMAGE) && (item.fmt & HDF_BITMAP_ON_RIGHT) && item.iImage == image;
}

int MeasureText(HWND window, const std::wstring& text)
{
    HDC dc = ::GetDC(window);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    RECT rect{};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return rect.right - rect.left;
}
}  // namespace

TEST(CSortListCtrl, HeaderClicksToggleTheDirectionAndMoveTheArrow)
{
    CTestControlsDlg dlg([](CTestControlsDlg& d) {
        CSortListCtrl& list = d.m_list;
        ClickHeader(list, 0);
        EXPECT_EQ(list.SortState().Column(), 0);
        EXPECT_EQ(list.SortState().Direction(), CSortState::kAscending);
        EXPECT_TRUE(ShowsArrow(HeaderItem(list, 0), 0));
        EXPECT_EQ(ColumnTexts(list, 0), (std::vector<std::wstring>{L"alpha.cpp", L"beta.txt", L"gamma.h"}));

        ClickHeader(list, 0);
        EXPECT_EQ(list.SortState().Direction(), CSortState::kDescending);
        EXPECT_TRUE(ShowsArrow(HeaderItem(list, 0), 1));
        EXPECT_EQ(ColumnTexts(list, 0), (std::vector<std::wstring>{L"gamma.h", L"beta.txt", L"alpha.cpp"}));

        // Another column keeps the direction; the arrow moves there.
        ClickHeader(list, 2);
        EXPECT_EQ(list.SortState().Column(), 2);
        EXPECT_EQ(list.SortState().Direction(), CSortState::kDescending);
        EXPECT_FALSE(HeaderItem(list, 0).fmt & HDF_IMAGE);
        EXPECT_TRUE(ShowsArrow(HeaderItem(list, 2), 1));
        EXPECT_EQ(ColumnTexts(list, 2), (std::vector<std::wstring>{L"OK", L"Failed", L"Converting"}));

        // Without the owner's arrows the header's own sort marks are used.
        list.SetHeaderImageList(nullptr);
        ClickHeader(list, 2);
        EXPECT_EQ(list.SortState().Direction(), CSortState::kAscending);
        EXPECT_TRUE(HeaderItem(list, 2).fmt & HDF_SORTUP);
        ClickHeader(list, 1);
        EXPECT_FALSE(HeaderItem(list, 2).fmt & (HDF_SORTUP | HDF_SORTDOWN));
        EXPECT_TRUE(HeaderItem(list, 1).fmt & HDF_SORTUP);
        ClickHeader(list, 1);
        EXPECT_TRUE(HeaderItem(list, 1).fmt & HDF_SORTDOWN);
        EXPECT_FALSE(HeaderItem(list, 1).fmt & HDF_SORTUP);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(CHyperlinkButton, ClickOpensTheTargetOrReachesTheParentHoverAndFit)
{
    CTestControlsDlg dlg([](CTestControlsDlg& d) {
        d.m_link.SendMessage(BM_CLICK);
        EXPECT_EQ(d.m_link.m_opened, 1);
        EXPECT_TRUE(std::find(d.m_commands.begin(), d.m_commands.end(), IDC_TEST_LINK) == d.m_commands.end());

        d.m_mailLink.SendMessage(BM_CLICK);
        EXPECT_EQ(d.m_commands, std::vector<UINT>{IDC_TEST_MAIL_LINK});

        d.m_link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        EXPECT_TRUE(d.m_link.IsHovering());
        d.m_link.SendMessage(WM_MOUSELEAVE);
        EXPECT_FALSE(d.m_link.IsHovering());

        const RECT before = d.m_link.GetRectInParent();
        d.m_link.SetLink(L"https://example.com/quillet", L"Quillet on the web");
        d.m_link.FitToText();
        const RECT after = d.m_link.GetRectInParent();
        EXPECT_EQ(after.right - after.left, MeasureText(d.m_link.Handle(), L"Quillet on the web") + 2);
        EXPECT_EQ(after.left, before.left);
        EXPECT_EQ(after.top, before.top);
        EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);

        // A multi-line link keeps its size.
        d.m_mailLink.ModifyStyle(0, BS_MULTILINE);
        const RECT mailBefore = d.m_mailLink.GetRectInParent();
        d.m_mailLink.FitToText();
        const RECT mailAfter = d.m_mailLink.GetRectInParent();
        EXPECT_EQ(mailAfter.right, mailBefore.right);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(CExtComboBox, ItemsAndDropWidthStayOnTheScreen)
{
    CTestControlsDlg dlg([](CTestControlsDlg& d) {
        CExtComboBox& combo = d.m_combo;
        EXPECT_EQ(combo.FindItemExact(0, L"cr - ios / macos / watchos"), 1);
        EXPECT_EQ(combo.FindItemExact(2, L"CR - iOS / macOS / watchOS"), -1);
        int image = -1, selected = -1;
        ASSERT_TRUE(combo.GetItemImages(2, image, selected));
        EXPECT_EQ(image, 2);
        EXPECT_EQ(selected, 2);
        EXPECT_FALSE(combo.GetItemImages(7, image, selected));
        const std::wstring wide = L"A much longer item that needs a wide list to be read whole";
        combo.InsertItem(3, wide, 0);
        EXPECT_EQ(combo.GetItemText(3), wide);

        // Near the right edge of the screen the list is narrowed to stay on it.
        combo.SetPos(nullptr, 0, 0, 80, 120, SWP_NOMOVE | SWP_NOZORDER);
        const int screen = ::GetSystemMetrics(SM_CXSCREEN);
        RECT dialog = d.GetWindowRect();
        RECT box = combo.GetWindowRect();
        const int shift = (screen - 150) - box.left;
        d.SetPos(nullptr, dialog.left + shift, dialog.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        box = combo.GetWindowRect();
        ShowDropDown(combo, true);
        EXPECT_EQ(DroppedWidth(combo), screen - box.left - 2);
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        ::GetComboBoxInfo(combo.GetComboControl(), &info);
        RECT listRect{};
        ::GetWindowRect(info.hwndList, &listRect);
        EXPECT_LE(listRect.right, screen);
        ShowDropDown(combo, false);
        d.SetPos(nullptr, dialog.left, dialog.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

        // Far from the edge the list fits its widest item.
        ShowDropDown(combo, true);
        const int textWidth = MeasureText(combo.Handle(), wide);
        EXPECT_GE(DroppedWidth(combo), textWidth + 17);
        EXPECT_LE(DroppedWidth(combo), textWidth + 120);
        ShowDropDown(combo, false);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(ControlsDialog, Screenshot)
{
    CTestControlsDlg dlg([](CTestControlsDlg& d) {
        d.SetPos(nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        d.m_list.SortByColumn(0);
        d.m_link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        d.m_combo.SetCurSel(1);
        CTestControlsDlg::PumpFor(300);
        RECT area = d.GetWindowRect();
        if (!SaveScreenshot(area, "controls_dialog.png"))
            GTEST_SKIP() << "no screenshot outside Wine";
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}
