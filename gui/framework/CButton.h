#pragma once
// Classes: CButton, a push button, check box or radio button.
#include "CWindowBase.h"

class CButton : public CWindowBase {
public:
    CButton() = default;
    explicit CButton(HWND hwnd) : CWindowBase(hwnd) {}

    bool Create(HWND parent, int id, const wchar_t* text, DWORD style, const RECT& rect)
    {
        return CreateChild(L"BUTTON", parent, id, style, 0, rect, text);
    }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
    void Click() const { SendMessage(BM_CLICK); }
    UINT GetButtonStyle() const { return static_cast<UINT>(GetStyle() & 0xFFFF); }
};
