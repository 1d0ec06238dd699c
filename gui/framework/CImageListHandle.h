#pragma once
// Classes: CImageListHandle, a non-owning view of one image list (the
// system's shared lists, a control's current list). CImageList owns one.
#include <windows.h>
#include <commctrl.h>

class CImageListHandle {
public:
    CImageListHandle() noexcept = default;
    explicit CImageListHandle(HIMAGELIST list) noexcept : m_list(list) {}

    HIMAGELIST Handle() const noexcept { return m_list; }
    explicit operator bool() const noexcept { return m_list != nullptr; }

    int GetCount() const { return ::ImageList_GetImageCount(m_list); }
    bool GetIconSize(int& cx, int& cy) const { return ::ImageList_GetIconSize(m_list, &cx, &cy) != FALSE; }
    int Add(HBITMAP image, COLORREF mask) const { return ::ImageList_AddMasked(m_list, image, mask); }
    int AddIcon(HICON icon) const { return ::ImageList_ReplaceIcon(m_list, -1, icon); }
    bool Draw(int index, HDC dc, int x, int y, UINT style = ILD_NORMAL) const
    {
        return ::ImageList_Draw(m_list, index, dc, x, y, style) != FALSE;
    }

protected:
    HIMAGELIST m_list = nullptr;
};
