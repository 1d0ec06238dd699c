#pragma once
// CBitmap owns a GDI bitmap (DeleteObject).
#include <windows.h>

#include <utility>

class CBitmap {
public:
    explicit CBitmap(HBITMAP bitmap = nullptr) : m_bitmap(bitmap) {}
    ~CBitmap() { Reset(); }
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    void Reset(HBITMAP bitmap = nullptr) {
        if (m_bitmap != nullptr)
            DeleteObject(m_bitmap);
        m_bitmap = bitmap;
    }
    HBITMAP Get() const { return m_bitmap; }

private:
    HBITMAP m_bitmap;
};
