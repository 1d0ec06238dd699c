#pragma once
// Classes: CAboutDlg, the About box: product name in the large bold font,
// version, the maker's notice and two links, the web site (which opens
// itself) and the support address (whose click comes to the box, which opens
// a mail). ShowAboutBox runs it.
#include "CDialog.h"
#include "CHyperlinkButton.h"
#include "CUniqueHandle.h"

// The shared fonts and cursor the box uses; null ones are made by the box
// from its own font (or the system's hand cursor is used).
struct AboutBoxLook {
    HFONT normalFont = nullptr;
    HFONT underlinedFont = nullptr;
    HFONT largeBoldFont = nullptr;
    HCURSOR handCursor = nullptr;
};

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(const AboutBoxLook& look);

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void MakeMissingFonts();
    void SetUpLink(CHyperlinkButton& link, int id, const std::wstring& target, const std::wstring& caption);

    AboutBoxLook m_look;
    CFont m_ownUnderlinedFont;
    CFont m_ownLargeBoldFont;
    CHyperlinkButton m_webSiteLink;
    CHyperlinkButton m_emailLink;
};

void ShowAboutBox(const AboutBoxLook& look, HWND owner);
