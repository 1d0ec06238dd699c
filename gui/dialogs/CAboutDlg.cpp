#include "CAboutDlg.h"

#include "CApplication.h"
#include "HelpCommands.h"
#include "HelpLinks.h"
#include "resource.h"

namespace {
// A copy of `font` changed by `change`; null when the font cannot be read.
template <class Change>
HFONT DerivedFont(HFONT font, Change change)
{
    LOGFONTW logFont{};
    if (!font || ::GetObjectW(font, sizeof(logFont), &logFont) != sizeof(logFont))
        return nullptr;
    change(logFont);
    return ::CreateFontIndirectW(&logFont);
}
}

CAboutDlg::CAboutDlg(const AboutBoxLook& look) : CDialog(IDD_ABOUTBOX), m_look(look) {}

bool CAboutDlg::OnInitDialog()
{
    bool result = CDialog::OnInitDialog();
    CApplication* app = CApplication::Current();
    std::wstring appName = app ? app->AppName() : std::wstring(L"Quillet");
    SetText(GetText() + L" " + appName);
    MakeMissingFonts();

    CWindow product = GetDlgItem(IDC_ABOUT_PRODUCT);
    if (m_look.largeBoldFont)
        product.SetFont(m_look.largeBoldFont);
    product.SetText(ProductTitle(appName));
    GetDlgItem(IDC_ABOUT_VERSION).SetText(VersionText());
    GetDlgItem(IDC_ABOUT_NOTICE).SetText(MakerNotice());

    SetUpLink(m_webSiteLink, IDC_WEB_SITE_LINK, HelpLinks::kWebSite, HelpLinks::kWebSite);
    // No target: the click reaches this box as command IDC_EMAIL_LINK.
    SetUpLink(m_emailLink, IDC_EMAIL_LINK, {}, HelpLinks::kSupportAddress);
    return result;
}

void CAboutDlg::MakeMissingFonts()
{
    HFONT dialogFont = GetFont();
    if (!m_look.normalFont)
        m_look.normalFont = dialogFont;
    if (!m_look.underlinedFont) {
        m_ownUnderlinedFont.Reset(DerivedFont(dialogFont, [](LOGFONTW& f) { f.lfUnderline = TRUE; }));
        m_look.underlinedFont = m_ownUnderlinedFont.Get();
    }
    if (!m_look.largeBoldFont) {
        m_ownLargeBoldFont.Reset(DerivedFont(dialogFont, [](LOGFONTW& f) {
            f.lfWeight = FW_BOLD;
            f.lfHeight += f.lfHeight / 2;
        }));
        m_look.largeBoldFont = m_ownLargeBoldFont.Get();
    }
}

void CAboutDlg::SetUpLink(CHyperlinkButton& link, int id, const std::wstring& target, const std::wstring& caption)
{
    link.Subclass(GetDlgItem(id));
    link.SetBackgroundColour(::GetSysColor(COLOR_BTNFACE));
    link.SetFont(m_look.normalFont);
    link.SetHoverFont(m_look.underlinedFont);
    link.SetHandCursor(m_look.handCursor);
    link.SetLink(target, caption.c_str());
    link.FitToText();
}

bool CAboutDlg::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_EMAIL_LINK && code == BN_CLICKED) {
        OnEmailUs();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void ShowAboutBox(const AboutBoxLook& look, HWND owner)
{
    CAboutDlg dlg(look);
    dlg.DoModal(owner);
}
