#pragma once
// Classes: CClientDC, a window's client-area device context for measuring
// text, with one font selected into it; the font is deselected and the
// context released when it goes.
#include <windows.h>

class CClientDC {
public:
    CClientDC(HWND window, HFONT font);
    ~CClientDC();
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

    HDC Handle() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }
    // Width in pixels of one line of text; 0 when it cannot be measured.
    int TextWidth(const wchar_t* text, int length) const;

private:
    HWND m_window;
    HDC m_dc;
    HGDIOBJ m_oldFont = nullptr;
};
