#include "CDialog.h"

#include "CApplication.h"

#include <commctrl.h>

namespace {
// The dialog being created on this thread: messages that arrive before
// WM_INITDIALOG (WM_SETFONT and the like) belong to it.
thread_local CDialog* t_creating = nullptr;

// Messages after which the user interface may have changed; mouse moves and
// paints come too often and change nothing.
bool IsIdleTrigger(const MSG& msg)
{
    return msg.message != WM_PAINT && msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE &&
           msg.message != 0x0118 /* caret blink */;
}

HINSTANCE ResourceModule()
{
    CApplication* app = CApplication::Current();
    return app && app->Instance() ? app->Instance() : ::GetModuleHandleW(nullptr);
}
}

CDialog::CDialog(UINT templateId) : m_templateId(templateId) {}

CDialog::~CDialog()
{
    // A dialog object that dies while its window lives must not be reached again.
    if (m_hWnd && FromHandle(m_hWnd) == this) {
        HWND hwnd = m_hWnd;
        UnbindHandle();
        ::DestroyWindow(hwnd);
    }
}

INT_PTR CDialog::DoModal(HWND parent)
{
    if (m_hWnd)
        return -1;
    m_ending = false;
    m_result = -1;
    t_creating = this;
    HWND hwnd = ::CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(m_templateId), parent, StaticDialogProc,
                                     reinterpret_cast<LPARAM>(this));
    t_creating = nullptr;
    if (!hwnd)
        return -1;

    bool disabledParent = parent && ::IsWindowEnabled(parent);
    if (!m_ending) {
        if (disabledParent)
            ::EnableWindow(parent, FALSE);
        ::ShowWindow(hwnd, SW_SHOW);
        RunModalLoop();
    }
    // Re-enable the owner before the dialog goes, so activation returns to it.
    if (disabledParent)
        ::EnableWindow(parent, TRUE);
    if (::IsWindow(hwnd))
        ::DestroyWindow(hwnd);
    return m_result;
}

void CDialog::RunModalLoop()
{
    bool idle = true;
    int idleCount = 0;
    MSG msg{};
    while (!m_ending) {
        while (idle && !m_ending && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        if (m_ending)
            break;
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT ends this dialog and must still reach the outer loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_result = IDCANCEL;
            break;
        }
        if (got == -1)
            break;
        if (!PreTranslateMessage(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (IsIdleMessage(msg)) {
            idle = true;
            idleCount = 0;
        }
    }
}

void CDialog::EndDialog(INT_PTR result)
{
    m_result = result;
    m_ending = true;
    // Wake the loop if it is waiting for a message.
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

bool CDialog::UpdateData(bool save)
{
    CDataExchange dx(m_hWnd, save);
    DoDataExchange(dx);
    return !dx.Failed();
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = static_cast<CDialog*>(FromHandle(hwnd));
    if (!self) {
        self = msg == WM_INITDIALOG ? reinterpret_cast<CDialog*>(lp) : t_creating;
        if (!self)
            return FALSE;
        self->BindHandle(hwnd);
    }
    LRESULT result = 0;
    bool handled = self->DispatchSafely(msg, wp, lp, result);
    if (msg == WM_NCDESTROY) {
        if (!self->m_ending) {
            // Destroyed from outside: the modal loop must not wait for it.
            self->m_ending = true;
            self->m_result = -1;
        }
        self->UnbindHandle();
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(msg))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

bool CDialog::ReturnsResultDirectly(UINT msg)
{
    // The dialog-procedure contract: these answer through the return value.
    switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

bool CDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (msg == WM_INITDIALOG) {
        if (!OnCreate()) {
            EndDialog(-1);
            result = FALSE;
            return true;
        }
        result = OnInitDialog() ? TRUE : FALSE;
        return true;
    }
    return CWindowBase::OnMessage(msg, wp, lp, result);
}

bool CDialog::RouteCommand(UINT id, UINT code, HWND control)
{
    // Menus and accelerators send code 0 or 1; buttons send BN_CLICKED (0).
    bool isCommand = code == 0 || code == 1;
    // The rule that greys a button at idle also decides when its command
    // arrives: a click, key or posted message that gets in before the idle
    // pass (or past a greyed button) must not run a disabled command.
    if (isCommand && IsCommandRefused(id))
        return true;
    if (OnCommand(id, code, control))
        return true;
    if (isCommand && id == IDOK) {
        OnOK();
        return true;
    }
    if (isCommand && id == IDCANCEL) {
        OnCancel();
        return true;
    }
    CApplication* app = CApplication::Current();
    return isCommand && app && app->OnCommand(id, code);
}

bool CDialog::IsCommandRefused(UINT id)
{
    const CCommandState state = QueryCommandState(id);
    return state.m_claimed && !state.m_enabled;
}

CCommandState CDialog::QueryCommandState(UINT id)
{
    CCommandState state(id);
    if (OnUpdateCommand(state)) {
        state.m_claimed = true;
        return state;
    }
    CApplication* app = CApplication::Current();
    if (app && app->OnUpdateCommand(state))
        state.m_claimed = true;
    return state;
}

void CDialog::AddUpdateToolbar(HWND toolbar)
{
    m_updateToolbars.push_back(toolbar);
}

void CDialog::UpdateToolbars()
{
    for (HWND toolbar : m_updateToolbars) {
        if (::IsWindow(toolbar))
            UpdateToolbar(toolbar);
    }
}

void CDialog::AddUpdateControl(int id)
{
    m_updateControls.push_back(id);
}

void CDialog::UpdateCommandStates()
{
    UpdateToolbars();
    UpdateControls();
}

void CDialog::UpdateControls()
{
    for (int id : m_updateControls) {
        HWND control = ::GetDlgItem(m_hWnd, id);
        if (!control)
            continue;
        CCommandState state = QueryCommandState(static_cast<UINT>(id));
        if (!state.m_claimed)
            continue;
        // Only real changes, so an idle refresh never makes a button flicker.
        if ((::IsWindowEnabled(control) != FALSE) != state.m_enabled)
            ::EnableWindow(control, state.m_enabled);
    }
}

void CDialog::UpdateToolbar(HWND toolbar)
{
    int count = static_cast<int>(::SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!::SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) ||
            (button.fsStyle & BTNS_SEP))
            continue;
        CCommandState state = QueryCommandState(static_cast<UINT>(button.idCommand));
        if (!state.m_claimed)
            continue;
        // Only real changes are sent, so an idle refresh never makes the toolbar flicker.
        bool enabled = (button.fsState & TBSTATE_ENABLED) != 0;
        if (enabled != state.m_enabled)
            ::SendMessageW(toolbar, TB_ENABLEBUTTON, button.idCommand, MAKELPARAM(state.m_enabled, 0));
        bool checked = (button.fsState & TBSTATE_CHECKED) != 0;
        if ((button.fsStyle & BTNS_CHECK) && checked != state.m_checked)
            ::SendMessageW(toolbar, TB_CHECKBUTTON, button.idCommand, MAKELPARAM(state.m_checked, 0));
    }
}

void CDialog::UpdatePopupMenu(HMENU popup, bool autoDisable)
{
    int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_SEPARATOR))
            continue;
        UINT id = info.wID;
        bool automatic = autoDisable;
        if (info.hSubMenu) {
            // A sub-popup follows its first item's command, never disabled automatically.
            UINT first = ::GetMenuItemID(info.hSubMenu, 0);
            if (first == 0 || first == static_cast<UINT>(-1))
                continue;
            id = first;
            automatic = false;
        }
        CCommandState state = QueryCommandState(id);
        bool enabled = state.m_claimed ? state.m_enabled : !(automatic && id < 0xF000);
        ::EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
        if (!info.hSubMenu && state.m_claimed)
            ::CheckMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (state.m_checked ? MF_CHECKED : MF_UNCHECKED));
        // An update may have removed items; keep walking at the same item.
        int now = ::GetMenuItemCount(popup);
        if (now < count) {
            i -= count - now;
            count = now;
        }
    }
}

bool CDialog::OnCreate()
{
    return true;
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange&) {}

bool CDialog::PreTranslateMessage(MSG& msg)
{
    if (!m_hWnd)
        return false;
    bool ours = msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd);
    if (ours && m_accelerators && ::TranslateAcceleratorW(m_hWnd, m_accelerators, &msg))
        return true;
    return ::IsDialogMessageW(m_hWnd, &msg) != FALSE;
}

bool CDialog::IsIdleMessage(const MSG& msg) const
{
    return IsIdleTrigger(msg);
}

bool CDialog::OnIdle(int)
{
    UpdateCommandStates();
    return false;
}

bool CDialog::OnUpdateCommand(CCommandState&)
{
    return false;
}
