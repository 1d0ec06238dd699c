#pragma once
// Classes: CSortListCtrl, a list view sorted by clicking its column headers.
// The first click sorts ascending, a click on the sorted column reverses it, a
// click on another column keeps the direction; an arrow on the sorted column's
// header shows the direction. The owner supplies the comparison, which gets a
// pointer to the control's CSortState (column, direction) as its extra
// argument.
#include "CListCtrlEx.h"
#include "CSortState.h"

#include <functional>
#include <utility>

class CSortListCtrl : public CListCtrlEx {
public:
    CSortListCtrl() = default;

    // Null leaves the rows in their order; only the arrow moves.
    void SetCompareFunction(PFNLVCOMPARE compare) { m_compare = compare; }
    // Asked before a header click sorts; when it says no, the click does
    // nothing (for owners that address rows by index for a while).
    void SetSortGuard(std::function<bool()> canSort) { m_canSort = std::move(canSort); }
    // Not owned; the ascending arrow at index 0, the descending one at 1.
    // Without a list the headers show the system's sort arrows instead.
    void SetHeaderImageList(HIMAGELIST arrows) const;
    const CSortState& SortState() const { return m_sort; }
    // What a click on the header of `column` does.
    void SortByColumn(int column);

protected:
    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    void ShowArrow(int column, bool show) const;

    PFNLVCOMPARE m_compare = nullptr;
    std::function<bool()> m_canSort;
    CSortState m_sort;
};
