#include <gtest/gtest.h>

#include "CMenu.h"
#include "CTestControlsDlg.h"
#include "TestResource.h"

#include <commctrl.h>
#include <cstring>
#include <string>

namespace {
const wchar_t kUntouched[] = L"untouched";

// What the dialog answers to a wide tip request; kUntouched when it leaves it alone.
std::wstring RequestTip(CTestControlsDlg& dlg, UINT_PTR id, UINT flags)
{
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = dlg.Tips().Handle();
    info.hdr.idFrom = id;
    info.hdr.code = TTN_NEEDTEXTW;
    info.uFlags = flags;
    wcscpy(info.szText, kUntouched);
    dlg.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    return info.szText;
}

std::string RequestAnsiTip(CTestControlsDlg& dlg, UINT_PTR id)
{
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = dlg.Tips().Handle();
    info.hdr.idFrom = id;
    info.hdr.code = TTN_NEEDTEXTA;
    strcpy(info.szText, "untouched");
    dlg.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    return info.szText;
}

UINT MenuState(HMENU menu, UINT id)
{
    return ::GetMenuState(menu, id, MF_BYCOMMAND);
}
}  // namespace

TEST(CFrameDlg, TipTextsComeFromTheSecondPartOfTheString)
{
    CTestControlsDlg dlg([](CTestControlsDlg& d) {
        EXPECT_EQ(RequestTip(d, IDS_TEST_TIP, 0), L"Add files to convert");
        EXPECT_EQ(RequestTip(d, IDS_TEST_THREE_PARTS, 0), L"Tip");
        EXPECT_EQ(RequestTip(d, IDS_TEST_NO_BREAK, 0), L"");
        EXPECT_EQ(RequestTip(d, 0, 0), L"");
        EXPECT_EQ(RequestTip(d, IDS_TEST_NO_STRING, 0), kUntouched);
        EXPECT_EQ(RequestAnsiTip(d, IDS_TEST_TIP), "Add files to convert");

        // A tool that is a window is named by its control id.
        HWND disabled = d.GetDlgItem(IDC_TEST_DISABLED);
        EXPECT_EQ(RequestTip(d, reinterpret_cast<UINT_PTR>(disabled), TTF_IDISHWND), L"This button is disabled");

        // The tip control itself asks the dialog for the callback text.
        wchar_t buffer[80] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = d.Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(disabled);
        tool.lpszText = buffer;
        d.Tips().SendMessage(TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(buffer, L"This button is disabled");
        EXPECT_EQ(d.Tips().SendMessage(TTM_GETMAXTIPWIDTH), CFrameDlg::kMaxTipWidth);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(CFrameDlg, IconsAndPopupMenuItemStates)
{
    CTestControlsDlg dlg([](CTestControlsDlg& d) {
        ASSERT_NE(d.LargeIcon(), nullptr);
        ASSERT_NE(d.SmallIcon(), nullptr);
        EXPECT_EQ(reinterpret_cast<HICON>(d.SendMessage(WM_GETICON, ICON_BIG)), d.LargeIcon());
        EXPECT_EQ(reinterpret_cast<HICON>(d.SendMessage(WM_GETICON, ICON_SMALL)), d.SmallIcon());
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(d.SmallIcon(), &info));
        BITMAP bits{};
        ::GetObjectW(info.hbmMask, sizeof(bits), &bits);
        EXPECT_EQ(bits.bmWidth, 16);
        ::DeleteObject(info.hbmMask);
        ::DeleteObject(info.hbmColor);

        CMenu menu;
        ASSERT_TRUE(menu.Load(::GetModuleHandleW(nullptr), IDM_TEST_MENU));
        HMENU popup = ::GetSubMenu(menu.Handle(), 0);
        // A system-menu popup is left alone.
        d.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, TRUE));
        EXPECT_FALSE(MenuState(popup, ID_TEST_UNHANDLED) & MF_GRAYED);

        d.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
        EXPECT_FALSE(MenuState(popup, ID_TEST_HANDLED) & MF_GRAYED);
        EXPECT_TRUE(MenuState(popup, ID_TEST_UNHANDLED) & MF_GRAYED);
        EXPECT_TRUE(MenuState(popup, ID_TEST_CHECKED) & MF_CHECKED);
        // A sub-popup is never disabled automatically, though nobody claims its first item.
        EXPECT_FALSE(::GetMenuState(popup, 4, MF_BYPOSITION) & MF_GRAYED);

        d.SetAutoMenuEnable(false);
        d.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
        EXPECT_FALSE(MenuState(popup, ID_TEST_UNHANDLED) & MF_GRAYED);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(CFrameDlg, TipShowsOverADisabledControl)
{
    CTestControlsDlg dlg([](CTestControlsDlg& d) {
        HWND disabled = d.GetDlgItem(IDC_TEST_DISABLED);
        ASSERT_FALSE(::IsWindowEnabled(disabled));
        RECT rect{};
        ::GetWindowRect(disabled, &rect);
        POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ::SetCursorPos(centre.x, centre.y);

        // A disabled control's mouse moves go to the dialog.
        POINT client = centre;
        ::ScreenToClient(d.Handle(), &client);
        MSG move{d.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y), ::GetTickCount(), centre};
        d.Pretranslate(move);
        CTestControlsDlg::PumpFor(1500);

        TTTOOLINFOW current{};
        current.cbSize = sizeof(current);
        ASSERT_TRUE(d.Tips().SendMessage(TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)));
        EXPECT_EQ(current.uId, reinterpret_cast<UINT_PTR>(disabled));
        EXPECT_TRUE(d.Tips().IsVisible());
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}
