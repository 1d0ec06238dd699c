#include "CWindow.h"

#include <vector>

std::wstring CWindow::GetText() const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    int copied = ::GetWindowTextW(m_hWnd, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

RECT CWindow::GetClientRect() const
{
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

RECT CWindow::GetWindowRect() const
{
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    return rc;
}

RECT CWindow::GetRectInParent() const
{
    RECT rc = GetWindowRect();
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void CWindow::ModifyStyle(LONG_PTR remove, LONG_PTR add) const
{
    LONG_PTR style = GetStyle();
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~remove) | add);
}
