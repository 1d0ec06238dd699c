#pragma once
// Classes: CUiResources, what every window of the program shares: the
// system's small and large icon lists (owned by the system, never destroyed
// here), the four fonts made from the main window's font, and the hand cursor.
#include "CImageListHandle.h"
#include "CUniqueHandle.h"

#include <windows.h>

class CUiResources {
public:
    // Both lists from the shell; false when either is missing.
    bool LoadSystemImageLists();
    bool LoadHandCursor(HINSTANCE module, UINT cursorId);
    // Normal (a copy), underlined, bold and large bold from the given font.
    // Once made, the fonts stay: other windows may already use them.
    bool CreateFonts(HFONT dialogFont);

    // Bold with the height grown by half of itself: -11 becomes -16.
    static LONG LargeBoldHeight(LONG height) { return height + height / 2; }

    CImageListHandle SmallImageList() const { return m_smallImages; }
    CImageListHandle LargeImageList() const { return m_largeImages; }
    HFONT NormalFont() const { return m_normalFont.Get(); }
    HFONT UnderlinedFont() const { return m_underlinedFont.Get(); }
    HFONT BoldFont() const { return m_boldFont.Get(); }
    HFONT LargeBoldFont() const { return m_largeBoldFont.Get(); }
    HCURSOR HandCursor() const { return m_handCursor.Get(); }

private:
    CImageListHandle m_smallImages;
    CImageListHandle m_largeImages;
    CFont m_normalFont;
    CFont m_underlinedFont;
    CFont m_boldFont;
    CFont m_largeBoldFont;
    CCursor m_handCursor;
};
