#include "CUiResources.h"

#include <shellapi.h>

namespace {
HIMAGELIST SystemImageList(UINT sizeFlag)
{
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | sizeFlag));
}

CFont FontFrom(LOGFONTW logFont)
{
    return CFont(::CreateFontIndirectW(&logFont));
}
}

bool CUiResources::LoadSystemImageLists()
{
    m_smallImages = CImageListHandle(SystemImageList(SHGFI_SMALLICON));
    m_largeImages = CImageListHandle(SystemImageList(0));
    return m_smallImages && m_largeImages;
}

bool CUiResources::LoadHandCursor(HINSTANCE module, UINT cursorId)
{
    // Not LR_SHARED: this copy is ours and is destroyed with the object.
    m_handCursor.Reset(static_cast<HCURSOR>(
        ::LoadImageW(module, MAKEINTRESOURCEW(cursorId), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
    return static_cast<bool>(m_handCursor);
}

bool CUiResources::CreateFonts(HFONT dialogFont)
{
    if (m_normalFont)
        return true;
    LOGFONTW base{};
    HGDIOBJ source = dialogFont ? static_cast<HGDIOBJ>(dialogFont) : ::GetStockObject(DEFAULT_GUI_FONT);
    if (!::GetObjectW(source, sizeof(base), &base))
        return false;

    LOGFONTW underlined = base;
    underlined.lfUnderline = TRUE;
    LOGFONTW bold = base;
    bold.lfWeight = FW_BOLD;
    LOGFONTW largeBold = bold;
    largeBold.lfHeight = LargeBoldHeight(bold.lfHeight);

    m_normalFont = FontFrom(base);
    m_underlinedFont = FontFrom(underlined);
    m_boldFont = FontFrom(bold);
    m_largeBoldFont = FontFrom(largeBold);
    return m_normalFont && m_underlinedFont && m_boldFont && m_largeBoldFont;
}
