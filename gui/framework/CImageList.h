#pragma once
// Classes: CImageList, a move-only owner of one image list; it destroys the
// list. Lists shared with the system stay in CImageListHandle.
#include "CImageListHandle.h"

class CImageList : public CImageListHandle {
public:
    CImageList() noexcept = default;
    explicit CImageList(HIMAGELIST list) noexcept : CImageListHandle(list) {}
    CImageList(CImageList&& other) noexcept : CImageListHandle(other.Detach()) {}
    CImageList& operator=(CImageList&& other) noexcept;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() { Destroy(); }

    bool Create(int cx, int cy, UINT flags, int initial, int grow);
    // A strip of images from a bitmap resource; maskColour marks the transparent pixels.
    bool CreateFromBitmap(HINSTANCE module, UINT bitmapId, int cx, UINT flags, COLORREF maskColour);
    void Destroy() noexcept;
    HIMAGELIST Detach() noexcept;
};
