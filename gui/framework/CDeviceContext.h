#pragma once
// Classes: CWindowDC (a window's client-area device context, released when
// it goes) and CMemoryDC (a memory context compatible with another, with one
// bitmap selected into it; the old object is put back and the context
// deleted when it goes).
#include <windows.h>

class CWindowDC {
public:
    explicit CWindowDC(HWND window) noexcept : m_window(window), m_dc(::GetDC(window)) {}
    ~CWindowDC()
    {
        if (m_dc)
            ::ReleaseDC(m_window, m_dc);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;

    HDC Handle() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr; }

private:
    HWND m_window;
    HDC m_dc;
};

class CMemoryDC {
public:
    CMemoryDC(HDC compatibleWith, HBITMAP bitmap) noexcept : m_dc(::CreateCompatibleDC(compatibleWith))
    {
        if (m_dc && bitmap)
            m_old = ::SelectObject(m_dc, bitmap);
    }
    ~CMemoryDC()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    HDC Handle() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr && m_old != nullptr; }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};
