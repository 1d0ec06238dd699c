#include "CClientDC.h"

CClientDC::CClientDC(HWND window, HFONT font) : m_window(window), m_dc(::GetDC(window))
{
    if (m_dc && font)
        m_oldFont = ::SelectObject(m_dc, font);
}

CClientDC::~CClientDC()
{
    if (!m_dc)
        return;
    if (m_oldFont)
        ::SelectObject(m_dc, m_oldFont);
    ::ReleaseDC(m_window, m_dc);
}

int CClientDC::TextWidth(const wchar_t* text, int length) const
{
    SIZE size{};
    if (!m_dc || length <= 0 || !::GetTextExtentPoint32W(m_dc, text, length, &size))
        return 0;
    return size.cx;
}
