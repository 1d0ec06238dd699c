#include "CTreeView.h"

#include <cstring>

HTREEITEM CTreeView::InsertItem(const std::wstring& text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM after, LPARAM data) const
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.lParam = data;
    return InsertItem(insert);
}

std::wstring CTreeView::GetItemText(HTREEITEM handle) const
{
    wchar_t buffer[1024] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = handle;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(std::size(buffer));
    return GetItem(item) ? std::wstring(buffer) : std::wstring();
}

LPARAM CTreeView::GetItemData(HTREEITEM handle) const
{
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = handle;
    return GetItem(item) ? item.lParam : 0;
}

bool CTreeView::GetItemRect(HTREEITEM item, RECT& rect, bool textOnly) const
{
    // The message takes the item in the rectangle's first bytes.
    std::memcpy(&rect, &item, sizeof(item));
    return SendMessage(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&rect)) != FALSE;
}
