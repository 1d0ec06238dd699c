#pragma once
// Classes: CWindow, a non-owning view of one HWND with the everyday calls.
// Copy it freely; it never destroys the window.
#include <windows.h>
#include <string>

class CWindow {
public:
    CWindow() noexcept = default;
    explicit CWindow(HWND hwnd) noexcept : m_hWnd(hwnd) {}

    HWND Handle() const noexcept { return m_hWnd; }
    operator HWND() const noexcept { return m_hWnd; }
    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::PostMessageW(m_hWnd, msg, wp, lp) != FALSE; }

    std::wstring GetText() const;
    bool SetText(const std::wstring& text) const { return ::SetWindowTextW(m_hWnd, text.c_str()) != FALSE; }

    CWindow GetDlgItem(int id) const { return CWindow(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWindow GetParent() const { return CWindow(::GetParent(m_hWnd)); }

    bool Enable(bool enabled = true) const { return ::EnableWindow(m_hWnd, enabled) != FALSE; }
    bool IsEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    bool Show(int command = SW_SHOW) const { return ::ShowWindow(m_hWnd, command) != FALSE; }
    bool IsVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }

    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    // The window's rectangle in its parent's client coordinates.
    RECT GetRectInParent() const;
    bool SetPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) const
    {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags) != FALSE;
    }
    bool Invalidate(bool erase = true) const { return ::InvalidateRect(m_hWnd, nullptr, erase) != FALSE; }

    LONG_PTR GetStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    LONG_PTR GetExStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE); }
    void ModifyStyle(LONG_PTR remove, LONG_PTR add) const;

    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT font, bool redraw = true) const
    {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }

protected:
    HWND m_hWnd = nullptr;
};
