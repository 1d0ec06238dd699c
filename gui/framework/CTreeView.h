#pragma once
// Classes: CTreeView, a tree-view control.
#include "CImageListHandle.h"
#include "CWindowBase.h"

#include <commctrl.h>
#include <string>

class CTreeView : public CWindowBase {
public:
    CTreeView() = default;
    explicit CTreeView(HWND hwnd) : CWindowBase(hwnd) {}

    bool Create(HWND parent, int id, DWORD style, const RECT& rect)
    {
        return CreateChild(WC_TREEVIEWW, parent, id, style, WS_EX_CLIENTEDGE, rect);
    }

    HTREEITEM InsertItem(const TVINSERTSTRUCTW& insert) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    HTREEITEM InsertItem(const std::wstring& text, int image, int selectedImage, HTREEITEM parent,
                         HTREEITEM after = TVI_LAST, LPARAM data = 0) const;
    bool DeleteItem(HTREEITEM item) const { return SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)) != FALSE; }
    bool DeleteAllItems() const { return DeleteItem(TVI_ROOT); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM GetRoot() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChild(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSibling(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelection() const { return GetNextItem(nullptr, TVGN_CARET); }
    bool SelectItem(HTREEITEM item) const { return SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != FALSE; }
    bool Expand(HTREEITEM item, UINT code = TVE_EXPAND) const
    {
        return SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)) != FALSE;
    }
    bool EnsureVisible(HTREEITEM item) const { return SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)) != FALSE; }
    bool GetItem(TVITEMW& item) const { return SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != FALSE; }
    bool SetItem(const TVITEMW& item) const { return SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != FALSE; }
    std::wstring GetItemText(HTREEITEM item) const;
    LPARAM GetItemData(HTREEITEM item) const;
    // The item's rectangle (only its text with textOnly); false when it is not visible.
    bool GetItemRect(HTREEITEM item, RECT& rect, bool textOnly) const;
    int GetCount() const { return static_cast<int>(SendMessage(TVM_GETCOUNT)); }
    HTREEITEM HitTest(TVHITTESTINFO& info) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    }
    CImageListHandle SetImageList(HIMAGELIST list, int which = TVSIL_NORMAL) const
    {
        return CImageListHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list))));
    }
};
