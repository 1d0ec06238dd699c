// The program's resources as the windows load them: tool-tip texts with their
// line breaks, and images of the sizes the image lists are cut by.
#include "CUniqueHandle.h"
#include "ResourceString.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {
HINSTANCE Module()
{
    return ::GetModuleHandleW(nullptr);
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
