#include "CListView.h"

#include <vector>

int CListView::InsertItem(int index, const std::wstring& text, int image, LPARAM data) const
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    item.lParam = data;
    return InsertItem(item);
}

std::wstring CListView::GetItemText(int index, int subItem) const
{
    // LVM_GETITEMTEXT reports only the copied length; grow until it fits.
    for (size_t size = 256;; size *= 2) {
        std::vector<wchar_t> buffer(size);
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        auto length = static_cast<size_t>(SendMessage(LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < size || size >= (1u << 20))
            return std::wstring(item.pszText, length);
    }
}

bool CListView::SetItemText(int index, int subItem, const std::wstring& text) const
{
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return SendMessage(LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

LPARAM CListView::GetItemData(int index) const
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return GetItem(item) ? item.lParam : 0;
}

bool CListView::SetItemData(int index, LPARAM data) const
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = data;
    return SetItem(item);
}

bool CListView::SetItemState(int index, UINT state, UINT mask) const
{
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != FALSE;
}

bool CListView::GetItemRect(int index, RECT& rect, int code) const
{
    rect.left = code;
    return SendMessage(LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)) != FALSE;
}

int CListView::InsertColumn(int index, const std::wstring& text, int format, int width) const
{
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(text.c_str());
    column.iSubItem = index;
    return InsertColumn(index, column);
}
