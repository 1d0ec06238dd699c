#include "CShellContextMenu.h"

bool CShellContextMenu::Fill(HWND owner, IShellFolder* folder, const ITEMIDLIST* childId, HMENU menu)
{
    m_menu.Release();
    m_menu2.Release();
    m_menu3.Release();
    if (!folder || !childId || !menu)
        return false;
    const ITEMIDLIST* ids[] = {childId};
    if (FAILED(folder->GetUIObjectOf(owner, 1, ids, IID_IContextMenu, nullptr, reinterpret_cast<void**>(&m_menu))) ||
        !m_menu)
        return false;
    // The newer interfaces are optional: without them owner-drawn and
    // delay-filled items simply stay as the shell first made them.
    m_menu.QueryInterface(IID_IContextMenu2, m_menu2);
    m_menu.QueryInterface(IID_IContextMenu3, m_menu3);

    const UINT previousDefault = ::GetMenuDefaultItem(menu, FALSE, 0);
    HRESULT hr = m_menu->QueryContextMenu(menu, 0, kFirstCommand, kLastCommand, CMF_EXPLORE | CMF_NODEFAULT);
    ::SetMenuDefaultItem(menu, previousDefault, FALSE);
    if (FAILED(hr)) {
        m_menu.Release();
        m_menu2.Release();
        m_menu3.Release();
        return false;
    }
    return true;
}

bool CShellContextMenu::Track(HWND owner, HMENU menu, POINT screenPoint)
{
    m_tracking = true;
    BOOL shown = ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, owner,
                                  nullptr);
    m_tracking = false;
    return shown != FALSE;
}

bool CShellContextMenu::HandleMenuMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (!m_tracking || !m_menu2)
        return false;
    switch (msg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        // Only menu items: a control's drawing is not the shell's business.
        if (wp != 0)
            return false;
        break;
    case WM_INITMENUPOPUP:
        break;
    case WM_MENUCHAR:
        if (!m_menu3)
            return false;
        return SUCCEEDED(m_menu3->HandleMenuMsg2(msg, wp, lp, &result));
    default:
        return false;
    }
    result = 0;
    if (m_menu3)
        return SUCCEEDED(m_menu3->HandleMenuMsg2(msg, wp, lp, &result));
    return SUCCEEDED(m_menu2->HandleMenuMsg(msg, wp, lp));
}

bool CShellContextMenu::InvokeCommand(HWND owner, UINT id)
{
    if (!m_menu || id < kFirstCommand || id > kLastCommand)
        return false;
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof(invoke);
    invoke.hwnd = owner;
    invoke.lpVerb = MAKEINTRESOURCEA(id - kFirstCommand);
    invoke.nShow = SW_SHOWNORMAL;
    return SUCCEEDED(m_menu->InvokeCommand(&invoke));
}
