#pragma once
// Classes: CEdit, a single- or multi-line edit control.
#include "CWindowBase.h"

#include <string>

class CEdit : public CWindowBase {
public:
    CEdit() = default;
    explicit CEdit(HWND hwnd) : CWindowBase(hwnd) {}

    bool Create(HWND parent, int id, DWORD style, const RECT& rect)
    {
        return CreateChild(L"EDIT", parent, id, style, WS_EX_CLIENTEDGE, rect);
    }
    void SetSel(int start, int end) const { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void ReplaceSel(const std::wstring& text, bool undo = false) const
    {
        SendMessage(EM_REPLACESEL, undo, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void LimitText(int chars) const { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
    void SetReadOnly(bool readOnly) const { SendMessage(EM_SETREADONLY, readOnly); }
};
