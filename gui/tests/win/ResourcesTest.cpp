// The program's resources as the windows will load them: ids, texts, sizes.
#include "CMenu.h"
#include "CUniqueHandle.h"
#include "ResourceString.h"
#include "resource.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {
HINSTANCE Module()
{
    return ::GetModuleHandleW(nullptr);
}

std::vector<UINT> ItemIds(CMenuHandle popup)
{
    std::vector<UINT> ids;
    for (int i = 0; i < popup.GetItemCount(); ++i)
        ids.push_back(popup.GetItemId(i));
    return ids;
}

BITMAP BitmapInfo(UINT id)
{
    CBitmap bitmap(static_cast<HBITMAP>(
        ::LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (bitmap)
        ::GetObjectW(bitmap.Get(), sizeof(info), &info);
    return info;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}
}

TEST(Resources, StringsGiveTheTitleAndTheToolTips)
{
    EXPECT_EQ(LoadResourceString(Module(), IDS_APP_TITLE), L"Quillet");
    EXPECT_EQ(LoadResourceString(Module(), ID_ADD_FILES), L"\nAdd files to convert");
    EXPECT_EQ(LoadResourceString(Module(), ID_ADD_FOLDER), L"\nAdd files in a folder to convert");
    EXPECT_EQ(LoadResourceString(Module(), ID_REMOVE), L"\nRemove selected items");
    EXPECT_EQ(LoadResourceString(Module(), ID_REMOVE_ALL), L"\nRemove all items");
    EXPECT_FALSE(LoadResourceString(Module(), ID_OPEN_FOLDER));
}

TEST(Resources, MenuHoldsThreePopupsWithTheirCommands)
{
    CMenu menu;
    ASSERT_TRUE(menu.Load(Module(), IDR_POPUP_MENUS));
    ASSERT_EQ(menu.GetItemCount(), 3);
    const UINT separator = 0;
    EXPECT_EQ(ItemIds(menu.GetSubMenu(0)),
              (std::vector<UINT>{ID_KEEP_TIMESTAMPS, ID_KEEP_ATTRIBUTES, ID_CONVERT_READONLY, ID_BACKUP_ORIGINAL,
                                 separator, ID_PRESET_FILTERS, ID_SETTINGS}));
    EXPECT_EQ(ItemIds(menu.GetSubMenu(1)),
              (std::vector<UINT>{ID_CHECK_UPDATES, separator, ID_EMAIL_US, ID_WEB_SITE, separator, ID_APP_ABOUT}));
    EXPECT_EQ(ItemIds(menu.GetSubMenu(2)), (std::vector<UINT>{ID_ADD_FILES, ID_ADD_FOLDER, ID_REMOVE, ID_REMOVE_ALL,
                                                              separator, ID_OPEN_FILE, ID_OPEN_FOLDER}));
    wchar_t text[128] = {};
    ::GetMenuStringW(menu.Handle(), ID_BACKUP_ORIGINAL, text, 128, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Backup original files (save as <original name>.bak)");
}

TEST(Resources, AcceleratorsMapTheFourKeys)
{
    HACCEL table = ::LoadAcceleratorsW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_TRUE(table);
    ACCEL entries[8] = {};
    int count = ::CopyAcceleratorTableW(table, entries, 8);
    ASSERT_EQ(count, 4);
    std::map<std::pair<int, int>, int> keys;
    for (int i = 0; i < count; ++i)
        keys[{entries[i].key, entries[i].fVirt & (FCONTROL | FSHIFT | FALT)}] = entries[i].cmd;
    EXPECT_EQ((keys[{'N', FCONTROL}]), ID_ADD_FILES);
    EXPECT_EQ((keys[{VK_INSERT, 0}]), ID_ADD_FILES);
    EXPECT_EQ((keys[{VK_INSERT, FCONTROL}]), ID_ADD_FOLDER);
    EXPECT_EQ((keys[{'O', FCONTROL}]), ID_OPEN_FILE);
}

TEST(Resources, ImagesHaveTheSizesTheWindowsCutThemBy)
{
    struct Expected {
        UINT id;
        LONG width, height;
        WORD bits;
    };
    for (Expected e : {Expected{IDR_FILE_TOOLBAR, 80, 20, 24}, Expected{IDB_FILE_TOOLBAR32, 80, 20, 32},
                       Expected{IDB_FORMAT_ICONS, 48, 16, 24}, Expected{IDB_STATE_ICONS, 48, 16, 24},
                       Expected{IDB_SORT_ARROWS, 18, 5, 4}, Expected{IDR_MENU_TOOLBAR, 32, 16, 24}}) {
        BITMAP info = BitmapInfo(e.id);
        EXPECT_EQ(info.bmWidth, e.width) << e.id;
        EXPECT_EQ(info.bmHeight, e.height) << e.id;
        EXPECT_EQ(info.bmBitsPixel, e.bits) << e.id;
    }
    CIcon small(static_cast<HICON>(::LoadImageW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0)));
    CIcon large(static_cast<HICON>(::LoadImageW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 32, 32, 0)));
    CCursor hand(static_cast<HCURSOR>(
        ::LoadImageW(Module(), MAKEINTRESOURCEW(IDC_HAND_CURSOR), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
    EXPECT_TRUE(small && large && hand);
}

TEST(Resources, MainDialogTemplateHoldsItsControls)
{
    HWND dialog = ::CreateDialogParamW(Module(), MAKEINTRESOURCEW(IDD_QUILLET_DIALOG), nullptr, PlainDialogProc, 0);
    ASSERT_TRUE(dialog);
    wchar_t text[128] = {};
    ::GetWindowTextW(dialog, text, 128);
    EXPECT_STREQ(text, L"Quillet");
    LONG_PTR style = ::GetWindowLongPtrW(dialog, GWL_STYLE);
    EXPECT_TRUE((style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN)) ==
                (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN));
    EXPECT_TRUE(::GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

    struct Control {
        int id;
        const wchar_t* className;
        const wchar_t* text;
    };
    for (Control c : {Control{IDC_FILE_LIST, L"SysListView32", L""}, Control{IDC_FORMAT_LABEL, L"Static", L"Convert to format:"},
                      Control{IDC_FORMAT_COMBO, L"ComboBoxEx32", L""},
                      Control{IDC_AUTO_CLOSE, L"Button", L"Close this window automatically when finished"},
                      Control{IDC_ALWAYS_ON_TOP, L"Button", L"Keep this window on top"},
                      Control{IDC_CONVERT, L"Button", L"Convert"}, Control{IDC_STOP, L"Button", L"Stop"},
                      Control{IDOK, L"Button", L"Close"}}) {
        HWND control = ::GetDlgItem(dialog, c.id);
        ASSERT_TRUE(control) << c.id;
        wchar_t name[64] = {};
        ::GetClassNameW(control, name, 64);
        EXPECT_STREQ(name, c.className) << c.id;
        ::GetWindowTextW(control, text, 128);
        EXPECT_STREQ(text, c.text) << c.id;
    }
    EXPECT_FALSE(::GetWindowLongPtrW(::GetDlgItem(dialog, IDC_STOP), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(::SendMessageW(::GetDlgItem(dialog, IDC_CONVERT), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON,
              DLGC_DEFPUSHBUTTON);
    EXPECT_FALSE(::GetWindowLongPtrW(::GetDlgItem(dialog, IDC_FILE_LIST), GWL_STYLE) & LVS_SINGLESEL);
    ::DestroyWindow(dialog);
}
