#pragma once
// Classes: CDataExchange, one pass of dialog data exchange: moves values
// between a dialog's controls and its fields, in the direction IsSaving()
// tells (true: controls to fields). A failed conversion marks the pass failed,
// focuses the control and leaves the field unchanged.
#include <windows.h>
#include <string>

class CDataExchange {
public:
    CDataExchange(HWND dialog, bool saving) : m_dialog(dialog), m_saving(saving) {}

    bool IsSaving() const { return m_saving; }
    bool Failed() const { return m_failed; }
    HWND Dialog() const { return m_dialog; }

    void Text(int id, std::wstring& value);
    // A decimal integer; text that is not one fails the pass with a message.
    void Text(int id, int& value);
    // A check box: 0 clear, 1 checked, 2 indeterminate.
    void Check(int id, int& value);
    // The selected index of a combo box or extended combo box; -1 when none.
    void ComboIndex(int id, int& value);
    // The index of the checked radio button in the group that starts at id; -1 when none.
    void Radio(int id, int& value);

    // Marks the pass failed and puts the focus on the control.
    void Fail(int id);

private:
    HWND Control(int id) const { return ::GetDlgItem(m_dialog, id); }

    HWND m_dialog;
    bool m_saving;
    bool m_failed = false;
};
