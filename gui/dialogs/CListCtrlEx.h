#pragma once
// Classes: CListCtrlEx, a list view with the conveniences the program's lists
// share: the first selected row, columns inserted from whichever attributes
// are given, and one state change applied to every row.
#include "CListView.h"

#include <string>

class CListCtrlEx : public CListView {
public:
    CListCtrlEx() = default;

    // The first selected row, or -1. Loops that delete the selected rows go
    // "while ((i = FirstSelected()) != -1) DeleteItem(i)".
    int FirstSelected() const { return GetNextItem(-1, LVNI_SELECTED); }

    // Inserts a column with the text when it is not null and each of image,
    // format, width and subItem that is not -1. Returns the new index, or -1.
    virtual int InsertColumnEx(int index, const wchar_t* text, int image = -1, int format = -1, int width = -1,
                               int subItem = -1) const;
    // Selects and focuses every row, or clears every selection.
    virtual bool SelectAllItems(bool select) const;
    virtual bool SetAllItemStates(UINT state, UINT mask) const;
    bool SetColumnText(int index, const std::wstring& text) const;
};
