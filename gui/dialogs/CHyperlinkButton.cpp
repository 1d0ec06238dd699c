#include "CHyperlinkButton.h"

#include "CClientDC.h"
#include "CUniqueHandle.h"
#include "LinkTextLayout.h"
#include "ShellOpen.h"

CHyperlinkButton::CHyperlinkButton() : m_backgroundColour(::GetSysColor(COLOR_WINDOW)) {}

void CHyperlinkButton::SetLink(const std::wstring& target, const wchar_t* caption)
{
    m_target = target;
    if (caption && m_hWnd)
        SetText(caption);
    if (IsWindow())
        Invalidate(false);
}

void CHyperlinkButton::FitToText()
{
    if (!IsWindow() || (GetStyle() & BS_MULTILINE))
        return;
    RECT rect = GetRectInParent();
    std::wstring text = GetText();
    CClientDC dc(m_hWnd, GetFont());
    if (!dc)
        return;
    // Measured as DrawText will draw it, so that "&" prefixes count alike.
    RECT measured{};
    ::DrawTextW(dc.Handle(), text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
    SetPos(nullptr, rect.left, rect.top, FitLinkWidth(measured.right - measured.left), rect.bottom - rect.top,
           SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CHyperlinkButton::OnReflectedCommand(UINT code, LRESULT& result)
{
    if (code != BN_CLICKED || m_target.empty())
        return CButton::OnReflectedCommand(code, result);
    OpenTarget();
    result = 0;
    return true;
}

void CHyperlinkButton::OpenTarget()
{
    ShellOpen({GetParent(), L"open", m_target, {}, SW_SHOWNORMAL});
}

bool CHyperlinkButton::OnReflectedDrawItem(DRAWITEMSTRUCT* item)
{
    DrawItem(*item);
    return true;
}

bool CHyperlinkButton::OnSetCursor(HWND, UINT, UINT)
{
    ::SetCursor(m_handCursor ? m_handCursor : ::LoadCursorW(nullptr, IDC_HAND));
    return true;
}

bool CHyperlinkButton::OnEraseBackground(HDC, LRESULT& result)
{
    // DrawItem paints everything, the background included.
    result = TRUE;
    return true;
}

bool CHyperlinkButton::OnMouseMove(UINT, POINT)
{
    if (!m_hover) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        ::TrackMouseEvent(&track);
        m_hover = true;
        Invalidate(false);
    }
    return false;
}

bool CHyperlinkButton::OnMouseLeave()
{
    m_hover = false;
    Invalidate(false);
    return false;
}

void CHyperlinkButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    DrawBackground(item.hDC, item.rcItem);
    DrawLabel(item.hDC, item.rcItem);
    if (item.itemState & ODS_FOCUS)
        ::DrawFocusRect(item.hDC, &item.rcItem);
}

void CHyperlinkButton::DrawBackground(HDC dc, const RECT& rect) const
{
    if (!m_transparent) {
        CBrush brush(::CreateSolidBrush(m_backgroundColour));
        ::FillRect(dc, &rect, brush.Get());
        return;
    }
    // The parent erases its own background into our context, shifted so that
    // its pixels under the button land on the button.
    RECT inParent = GetRectInParent();
    POINT old{};
    ::OffsetViewportOrgEx(dc, -inParent.left, -inParent.top, &old);
    ::SendMessageW(GetParent(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void CHyperlinkButton::DrawLabel(HDC dc, RECT rect) const
{
    std::wstring text = GetText();
    if (text.empty())
        return;
    ::InflateRect(&rect, -1, 0);

    const LONG_PTR style = GetStyle();
    LinkTextLayout layout = LayoutLinkText((style & BS_LEFT) != 0, (style & BS_RIGHT) != 0, (style & BS_MULTILINE) != 0);
    UINT format = DT_END_ELLIPSIS;
    format |= layout.align == LinkTextAlign::Right ? DT_RIGHT : layout.align == LinkTextAlign::Center ? DT_CENTER : DT_LEFT;
    format |= layout.wrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;

    HFONT font = GetFont();
    if (m_hover && m_hoverFont)
        font = m_hoverFont;
    HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
    COLORREF oldBack = ::SetBkColor(dc, m_backgroundColour);
    COLORREF oldText = ::SetTextColor(dc, m_hover ? m_hoverColour : m_linkColour);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
    if (oldFont)
        ::SelectObject(dc, oldFont);
}
