#pragma once
// Classes: CShellContextMenu, the Explorer context menu of one shell item,
// shown by a window that owns the popup. While the menu is up, the owner's
// message handler passes the menu messages here (HandleMenuMessage), so that
// owner-drawn and delay-filled items of the shell (IContextMenu2/3) work; the
// chosen command comes back to the owner as WM_COMMAND and is carried out
// with InvokeCommand. The menu object stays until the next menu or the end.
#include "CComPtr.h"
#include "CMenu.h"

#include <shlobj.h>

class CShellContextMenu {
public:
    static constexpr UINT kFirstCommand = 3584;
    static constexpr UINT kLastCommand = 4095;

    // Asks the folder for the item's menu object and lets it fill `menu`;
    // false when the folder has none or the filling failed.
    bool Fill(HWND owner, IShellFolder* folder, const ITEMIDLIST* childId, HMENU menu);
    // Shows the filled menu at a screen point until it closes.
    bool Track(HWND owner, HMENU menu, POINT screenPoint);
    // WM_INITMENUPOPUP, WM_DRAWITEM, WM_MEASUREITEM and WM_MENUCHAR while the
    // menu is up; true when the shell handled the message.
    bool HandleMenuMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // A command id of the shell's range from WM_COMMAND; false for others.
    bool InvokeCommand(HWND owner, UINT id);
    bool IsTracking() const { return m_tracking; }
    bool HasMenu() const { return static_cast<bool>(m_menu); }

private:
    CComPtr<IContextMenu> m_menu;
    CComPtr<IContextMenu2> m_menu2;
    CComPtr<IContextMenu3> m_menu3;
    bool m_tracking = false;
};
