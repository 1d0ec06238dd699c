#include "CFrameDlg.h"

#include "CApplication.h"
#include "ResourceString.h"
#include "TipText.h"

#include <commctrl.h>
#include <string>

namespace {
HINSTANCE ResourceModule()
{
    CApplication* app = CApplication::Current();
    return app && app->Instance() ? app->Instance() : ::GetModuleHandleW(nullptr);
}

HICON LoadOwnedIcon(UINT id, int cx, int cy)
{
    // Without LR_SHARED the icon is ours to destroy, at exactly this size.
    return static_cast<HICON>(::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(id), IMAGE_ICON, cx, cy,
                                           cx ? 0 : LR_DEFAULTSIZE));
}

// The ANSI tip: as much of the text as fits in the request's buffer, never
// cutting a character in two.
void CopyAnsiTip(const std::wstring& text, char* buffer)
{
    std::wstring_view part = FitToBuffer(text, kTipRequestChars);
    while (true) {
        int written = ::WideCharToMultiByte(CP_ACP, 0, part.data(), static_cast<int>(part.size()), buffer,
                                            static_cast<int>(kTipRequestChars - 1), nullptr, nullptr);
        if (written > 0 || part.empty()) {
            buffer[written > 0 ? written : 0] = '\0';
            return;
        }
        part = FitToBuffer(part, part.size());
    }
}
}

CFrameDlg::CFrameDlg(UINT templateId) : CDialog(templateId) {}

bool CFrameDlg::OnCreate()
{
    m_largeIcon.Reset(LoadOwnedIcon(kIconId, 0, 0));
    m_smallIcon.Reset(LoadOwnedIcon(kIconId, 16, 16));
    if (!m_tips.Create(m_hWnd, TTS_ALWAYSTIP))
        return false;
    m_tips.SetMaxTipWidth(kMaxTipWidth);
    return CDialog::OnCreate();
}

bool CFrameDlg::OnInitDialog()
{
    bool result = CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_largeIcon.Get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
    return result;
}

bool CFrameDlg::PreTranslateMessage(MSG& msg)
{
    m_tips.RelayMouseMove(msg);
    return CDialog::PreTranslateMessage(msg);
}

bool CFrameDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (msg == WM_QUERYDRAGICON) {
        result = reinterpret_cast<LRESULT>(m_largeIcon.Get());
        return true;
    }
    return CDialog::OnMessage(msg, wp, lp, result);
}

bool CFrameDlg::OnPaint()
{
    if (!::IsIconic(m_hWnd))
        return CDialog::OnPaint();
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (!dc)
        return false;
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client = GetClientRect();
    int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_largeIcon.Get());
    ::EndPaint(m_hWnd, &paint);
    return true;
}

bool CFrameDlg::OnNotify(NMHDR* header, LRESULT& result)
{
    if ((header->code == TTN_NEEDTEXTW || header->code == TTN_NEEDTEXTA) && OnNeedText(header)) {
        result = 0;
        return true;
    }
    return CDialog::OnNotify(header, result);
}

bool CFrameDlg::OnNeedText(NMHDR* header)
{
    const bool wide = header->code == TTN_NEEDTEXTW;
    // Both request layouts agree up to the flags.
    const UINT flags = wide ? reinterpret_cast<NMTTDISPINFOW*>(header)->uFlags
                            : reinterpret_cast<NMTTDISPINFOA*>(header)->uFlags;
    UINT id = static_cast<UINT>(header->idFrom);
    if (flags & TTF_IDISHWND)
        id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));

    std::wstring text;
    if (id != 0) {
        std::optional<std::wstring> loaded = LoadResourceString(ResourceModule(), id);
        if (loaded && loaded->size() >= kTipResourceChars)
            loaded->resize(kTipResourceChars - 1);
        std::optional<std::wstring> tip = TipTextFromResource(loaded);
        if (!tip)
            return false;
        text = std::move(*tip);
    }

    if (wide) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        std::wstring_view part = FitToBuffer(text, kTipRequestChars);
        part.copy(info->szText, part.size());
        info->szText[part.size()] = L'\0';
        info->lpszText = info->szText;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        CopyAnsiTip(text, info->szText);
        info->lpszText = info->szText;
    }
    // The tip goes to the top of the Z order so that no window covers it.
    ::SetWindowPos(header->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

bool CFrameDlg::OnInitMenuPopup(HMENU popup, UINT index, bool systemMenu)
{
    CDialog::OnInitMenuPopup(popup, index, systemMenu);
    CancelOtherModes();
    if (systemMenu)
        return false;
    UpdatePopupMenu(popup, m_autoMenuEnable);
    return false;
}

void CFrameDlg::CancelOtherModes() const
{
    // A dropped combo list or a capture held by a control would otherwise
    // stay active under the opening menu.
    HWND capture = ::GetCapture();
    if (capture && capture != m_hWnd && ::IsChild(m_hWnd, capture))
        ::SendMessageW(capture, WM_CANCELMODE, 0, 0);
    HWND focus = ::GetFocus();
    for (HWND w = focus; w && w != m_hWnd; w = ::GetParent(w)) {
        wchar_t className[32] = {};
        ::GetClassNameW(w, className, 32);
        if (::lstrcmpiW(className, L"ComboBox") == 0) {
            ::SendMessageW(w, CB_SHOWDROPDOWN, FALSE, 0);
            break;
        }
    }
}
