#include "CImageList.h"

#include "CUniqueHandle.h"

#include <utility>

CImageList& CImageList::operator=(CImageList&& other) noexcept
{
    if (this != &other) {
        Destroy();
        m_list = other.Detach();
    }
    return *this;
}

bool CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    Destroy();
    m_list = ::ImageList_Create(cx, cy, flags, initial, grow);
    return m_list != nullptr;
}

bool CImageList::CreateFromBitmap(HINSTANCE module, UINT bitmapId, int cx, UINT flags, COLORREF maskColour)
{
    Destroy();
    CBitmap bitmap(static_cast<HBITMAP>(
        ::LoadImageW(module, MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap.Get(), sizeof(info), &info) || cx <= 0)
        return false;
    if (!Create(cx, info.bmHeight, flags, info.bmWidth / cx, 1))
        return false;
    if (Add(bitmap.Get(), maskColour) < 0) {
        Destroy();
        return false;
    }
    return true;
}

void CImageList::Destroy() noexcept
{
    if (HIMAGELIST list = Detach())
        ::ImageList_Destroy(list);
}

HIMAGELIST CImageList::Detach() noexcept
{
    return std::exchange(m_list, nullptr);
}
