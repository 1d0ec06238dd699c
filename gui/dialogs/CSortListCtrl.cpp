#include "CSortListCtrl.h"

#include <commctrl.h>

void CSortListCtrl::SetHeaderImageList(HIMAGELIST arrows) const
{
    Header_SetImageList(GetHeader(), arrows);
}

bool CSortListCtrl::OnNotify(NMHDR* header, LRESULT& result)
{
    // The header tells its parent, this list, before the list turns the click
    // into LVN_COLUMNCLICK for the dialog.
    if (header->hwndFrom == GetHeader() && (header->code == HDN_ITEMCLICKW || header->code == HDN_ITEMCLICKA)) {
        if (!m_canSort || m_canSort())
            SortByColumn(reinterpret_cast<NMHEADERW*>(header)->iItem);
        result = 0;
        return true;
    }
    return CListCtrlEx::OnNotify(header, result);
}

void CSortListCtrl::SortByColumn(int column)
{
    const int previous = m_sort.OnHeaderClick(column);
    ShowArrow(previous, false);
    ShowArrow(column, true);
    if (m_compare)
        SortItems(m_compare, reinterpret_cast<LPARAM>(&m_sort));
}

void CSortListCtrl::ShowArrow(int column, bool show) const
{
    HWND header = GetHeader();
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!Header_GetItem(header, column, &item))
        return;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (!show) {
        item.fmt &= ~HDF_IMAGE;
        Header_SetItem(header, column, &item);
        return;
    }
    const bool ascending = m_sort.Direction() == CSortState::kAscending;
    if (Header_GetImageList(header)) {
        item.mask |= HDI_IMAGE;
        item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
        item.iImage = m_sort.ArrowImage();
    } else {
        item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
    }
    Header_SetItem(header, column, &item);
}
