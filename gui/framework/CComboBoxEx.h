#pragma once
// Classes: CComboBoxEx, an extended combo box (items with images).
#include "CImageListHandle.h"
#include "CWindowBase.h"

#include <commctrl.h>
#include <string>

class CComboBoxEx : public CWindowBase {
public:
    CComboBoxEx() = default;
    explicit CComboBoxEx(HWND hwnd) : CWindowBase(hwnd) {}

    bool Create(HWND parent, int id, DWORD style, const RECT& rect)
    {
        return CreateChild(WC_COMBOBOXEXW, parent, id, style, 0, rect);
    }

    int InsertItem(const COMBOBOXEXITEMW& item) const
    {
        return static_cast<int>(SendMessage(CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    bool GetItem(COMBOBOXEXITEMW& item) const { return SendMessage(CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != FALSE; }
    bool SetItem(const COMBOBOXEXITEMW& item) const { return SendMessage(CBEM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != FALSE; }
    int DeleteItem(int index) const { return static_cast<int>(SendMessage(CBEM_DELETEITEM, index)); }
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, index)); }
    int GetItemHeight(int index = 0) const { return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, index)); }
    // The dropped list belongs to the inner combo box. Windows forwards these
    // from the outer control, Wine does not, so they go to the inner one directly.
    RECT GetDroppedControlRect() const
    {
        RECT rect{};
        ::SendMessageW(GetComboControl(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    int SetDroppedWidth(int width) const
    {
        return static_cast<int>(::SendMessageW(GetComboControl(), CB_SETDROPPEDWIDTH, width, 0));
    }
    int GetDroppedWidth() const { return static_cast<int>(::SendMessageW(GetComboControl(), CB_GETDROPPEDWIDTH, 0, 0)); }
    bool ShowDropDown(bool show) const { return SendMessage(CB_SHOWDROPDOWN, show) != FALSE; }
    HWND GetEditControl() const { return reinterpret_cast<HWND>(SendMessage(CBEM_GETEDITCONTROL)); }
    HWND GetComboControl() const { return reinterpret_cast<HWND>(SendMessage(CBEM_GETCOMBOCONTROL)); }
    CImageListHandle GetImageList() const
    {
        return CImageListHandle(reinterpret_cast<HIMAGELIST>(SendMessage(CBEM_GETIMAGELIST)));
    }
    // The control does not own the list; keep it alive while the control uses it.
    CImageListHandle SetImageList(HIMAGELIST list) const
    {
        return CImageListHandle(reinterpret_cast<HIMAGELIST>(SendMessage(CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list))));
    }
};
