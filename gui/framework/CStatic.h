#pragma once
// Classes: CStatic, a static text, icon or picture control.
#include "CWindowBase.h"

class CStatic : public CWindowBase {
public:
    CStatic() = default;
    explicit CStatic(HWND hwnd) : CWindowBase(hwnd) {}

    bool Create(HWND parent, int id, const wchar_t* text, DWORD style, const RECT& rect)
    {
        return CreateChild(L"STATIC", parent, id, style, 0, rect, text);
    }
    // The control keeps showing the image; the caller keeps owning it.
    HICON SetIcon(HICON icon) const
    {
        return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
    }
    HBITMAP SetBitmap(HBITMAP bitmap) const
    {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
};
