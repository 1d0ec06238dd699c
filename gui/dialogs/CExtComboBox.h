#pragma once
// Classes: CExtComboBox, the extended combo box used for every combo box of
// the program: items with text, image, selected image, indentation and a
// data word, and a dropped list that is as wide as its widest item but stays
// on the monitor.
#include "CComboBoxEx.h"

#include <string>

class CExtComboBox : public CComboBoxEx {
public:
    CExtComboBox() = default;

    // The edit control's text, or the window text without an edit control.
    virtual std::wstring GetEditText() const;
    virtual std::wstring GetItemText(int index) const;
    // False when the control refuses the index.
    virtual bool GetItemImages(int index, int& image, int& selectedImage) const;
    // A selectedImage of -1 means the same as image. Returns the new index, or -1.
    virtual int InsertItem(int index, const std::wstring& text, int image, int selectedImage = -1) const;
    virtual int InsertIndentedItem(int index, const std::wstring& text, int image, int selectedImage, int indent) const;
    // The first index from `start` on whose text equals `text` ignoring case, or -1.
    virtual int FindItemExact(int start, const std::wstring& text) const;
    // Sets the image, and the selected image too unless it is -1.
    virtual bool SetItemImages(int index, int image, int selectedImage = -1) const;
    virtual bool SetItemText(int index, const std::wstring& text) const;
    // Each item carries one data word (0 until set). GetItemData is false
    // when the control refuses the index.
    bool SetItemData(int index, LPARAM data) const;
    bool GetItemData(int index, LPARAM& data) const;
    // Sets the text of the edit field (the window text without an edit control).
    bool SetEditText(const std::wstring& text) const;
    // Widens the dropped list to the widest item; runs when the list drops down.
    virtual void AdjustDropWidth() const;

    using CComboBoxEx::InsertItem;

    bool OnReflectedCommand(UINT code, LRESULT& result) override;

private:
    int FirstImageWidth() const;
};
