#pragma once
// Classes: CListView, a list-view control.
#include "CImageListHandle.h"
#include "CWindowBase.h"

#include <commctrl.h>
#include <string>

class CListView : public CWindowBase {
public:
    CListView() = default;
    explicit CListView(HWND hwnd) : CWindowBase(hwnd) {}

    bool Create(HWND parent, int id, DWORD style, const RECT& rect)
    {
        return CreateChild(WC_LISTVIEWW, parent, id, style, WS_EX_CLIENTEDGE, rect);
    }

    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetSelectedCount() const { return static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    int GetNextItem(int start, UINT flags) const { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, start, flags)); }
    // Returns the new row's index, or -1 when the list refuses it.
    int InsertItem(int index, const std::wstring& text, int image = -1, LPARAM data = 0) const;
    int InsertItem(const LVITEMW& item) const
    {
        return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    bool GetItem(LVITEMW& item) const { return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != FALSE; }
    bool SetItem(const LVITEMW& item) const { return SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != FALSE; }
    std::wstring GetItemText(int index, int subItem) const;
    bool SetItemText(int index, int subItem, const std::wstring& text) const;
    LPARAM GetItemData(int index) const;
    bool SetItemData(int index, LPARAM data) const;
    UINT GetItemState(int index, UINT mask) const { return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, index, mask)); }
    bool SetItemState(int index, UINT state, UINT mask) const;
    bool GetItemRect(int index, RECT& rect, int code) const;
    bool DeleteItem(int index) const { return SendMessage(LVM_DELETEITEM, index) != FALSE; }
    bool DeleteAllItems() const { return SendMessage(LVM_DELETEALLITEMS) != FALSE; }
    bool EnsureVisible(int index, bool partialOk = false) const { return SendMessage(LVM_ENSUREVISIBLE, index, partialOk) != FALSE; }
    int HitTest(LVHITTESTINFO& info) const { return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info))); }

    int InsertColumn(int index, const LVCOLUMNW& column) const
    {
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
    }
    int InsertColumn(int index, const std::wstring& text, int format, int width) const;
    bool GetColumn(int index, LVCOLUMNW& column) const
    {
        return SendMessage(LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column)) != FALSE;
    }
    bool SetColumn(int index, const LVCOLUMNW& column) const
    {
        return SendMessage(LVM_SETCOLUMNW, index, reinterpret_cast<LPARAM>(&column)) != FALSE;
    }
    int GetColumnWidth(int index) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, index)); }
    bool SetColumnWidth(int index, int width) const { return SendMessage(LVM_SETCOLUMNWIDTH, index, width) != FALSE; }
    HWND GetHeader() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }

    DWORD SetExtendedStyle(DWORD mask, DWORD style) const
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style));
    }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    // The list shares the image list unless it was created with LVS_SHAREIMAGELISTS unset.
    CImageListHandle SetImageList(HIMAGELIST list, int which) const
    {
        return CImageListHandle(reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list))));
    }
    CImageListHandle GetImageList(int which) const
    {
        return CImageListHandle(reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, which)));
    }
    bool SortItems(PFNLVCOMPARE compare, LPARAM data) const
    {
        return SendMessage(LVM_SORTITEMS, data, reinterpret_cast<LPARAM>(compare)) != FALSE;
    }
};
