#include "CToolTip.h"

bool CToolTip::Create(HWND owner, DWORD style)
{
    // A tool tip is a top-level popup owned by the window, not a child.
    HWND hwnd = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        return false;
    if (!Subclass(hwnd)) {
        ::DestroyWindow(hwnd);
        return false;
    }
    return true;
}

bool CToolTip::AddTool(HWND tool, const wchar_t* text, UINT flags) const
{
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = flags | TTF_IDISHWND;
    info.hwnd = ::GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text);
    return SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

bool CToolTip::AddTool(HWND window, UINT_PTR id, const RECT& rect, const wchar_t* text) const
{
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = window;
    info.uId = id;
    info.rect = rect;
    info.lpszText = const_cast<wchar_t*>(text);
    return SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void CToolTip::DelTool(HWND tool) const
{
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = ::GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}
