#include "CListCtrlEx.h"

namespace {
// LVM_SETITEMSTATE applies to every row when given this index.
constexpr int kAllItems = -1;
}

int CListCtrlEx::InsertColumnEx(int index, const wchar_t* text, int image, int format, int width, int subItem) const
{
    LVCOLUMNW column{};
    if (text) {
        column.mask |= LVCF_TEXT;
        column.pszText = const_cast<wchar_t*>(text);
    }
    if (image != -1) {
        column.mask |= LVCF_IMAGE;
        column.iImage = image;
    }
    if (format != -1) {
        column.mask |= LVCF_FMT;
        column.fmt = format;
    }
    if (width != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = width;
    }
    if (subItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = subItem;
    }
    return InsertColumn(index, column);
}

bool CListCtrlEx::SelectAllItems(bool select) const
{
    if (select)
        return SetAllItemStates(LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    return SetAllItemStates(0, LVIS_SELECTED);
}

bool CListCtrlEx::SetAllItemStates(UINT state, UINT mask) const
{
    return SetItemState(kAllItems, state, mask);
}

bool CListCtrlEx::SetColumnText(int index, const std::wstring& text) const
{
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(text.c_str());
    return SetColumn(index, column);
}
