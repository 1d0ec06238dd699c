#pragma once
// Classes: CToolBar, a toolbar control.
#include "CImageListHandle.h"
#include "CWindowBase.h"

#include <commctrl.h>
#include <string>

class CToolBar : public CWindowBase {
public:
    CToolBar() = default;
    explicit CToolBar(HWND hwnd) : CWindowBase(hwnd) {}

    // Creates the toolbar and tells it the button structure's size.
    bool Create(HWND parent, int id, DWORD style, const RECT& rect = {});

    DWORD SetExtendedStyle(DWORD style) const { return static_cast<DWORD>(SendMessage(TB_SETEXTENDEDSTYLE, 0, style)); }
    bool AddButtons(const TBBUTTON* buttons, int count) const
    {
        return SendMessage(TB_ADDBUTTONSW, count, reinterpret_cast<LPARAM>(buttons)) != FALSE;
    }
    int GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    bool GetButton(int index, TBBUTTON& button) const
    {
        return SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)) != FALSE;
    }
    bool GetItemRect(int index, RECT& rect) const { return SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)) != FALSE; }
    bool GetRect(UINT id, RECT& rect) const { return SendMessage(TB_GETRECT, id, reinterpret_cast<LPARAM>(&rect)) != FALSE; }
    bool SetButtonText(UINT id, const std::wstring& text) const;
    bool EnableButton(UINT id, bool enabled) const { return SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enabled, 0)) != FALSE; }
    bool CheckButton(UINT id, bool checked) const { return SendMessage(TB_CHECKBUTTON, id, MAKELPARAM(checked, 0)) != FALSE; }
    bool IsButtonEnabled(UINT id) const { return SendMessage(TB_ISBUTTONENABLED, id) != FALSE; }
    bool IsButtonChecked(UINT id) const { return SendMessage(TB_ISBUTTONCHECKED, id) != FALSE; }
    bool SetBitmapSize(int cx, int cy) const { return SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(cx, cy)) != FALSE; }
    // The toolbar does not own the list; keep it alive while the toolbar uses it.
    CImageListHandle SetImageList(HIMAGELIST list) const
    {
        return CImageListHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list))));
    }
    void AutoSize() const { SendMessage(TB_AUTOSIZE); }
    HWND GetToolTips() const { return reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS)); }
};
