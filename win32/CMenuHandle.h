#pragma once
// Classes: CMenuHandle, a non-owning view of one HMENU (a popup of a loaded
// menu, a window's menu). It never destroys the menu; CMenu owns one.
#include <windows.h>

class CMenuHandle {
public:
    CMenuHandle() noexcept = default;
    explicit CMenuHandle(HMENU menu) noexcept : m_menu(menu) {}

    HMENU Handle() const noexcept { return m_menu; }
    explicit operator bool() const noexcept { return m_menu != nullptr; }

    CMenuHandle GetSubMenu(int position) const { return CMenuHandle(::GetSubMenu(m_menu, position)); }
    int GetItemCount() const { return ::GetMenuItemCount(m_menu); }
    UINT GetItemId(int position) const { return ::GetMenuItemID(m_menu, position); }
    bool EnableItem(UINT id, bool enabled) const
    {
        return ::EnableMenuItem(m_menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED)) != -1;
    }
    bool CheckItem(UINT id, bool checked) const
    {
        return ::CheckMenuItem(m_menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED)) !=
               static_cast<DWORD>(-1);
    }
    bool IsItemEnabled(UINT id) const
    {
        UINT state = ::GetMenuState(m_menu, id, MF_BYCOMMAND);
        return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
    }
    bool IsItemChecked(UINT id) const
    {
        UINT state = ::GetMenuState(m_menu, id, MF_BYCOMMAND);
        return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
    }
    bool SetDefaultItem(UINT id) const { return ::SetMenuDefaultItem(m_menu, id, FALSE) != FALSE; }
    // Returns the chosen command with TPM_RETURNCMD, else nonzero on success.
    BOOL TrackPopup(UINT flags, int x, int y, HWND owner, const RECT* exclude = nullptr) const
    {
        if (!exclude)
            return ::TrackPopupMenuEx(m_menu, flags, x, y, owner, nullptr);
        TPMPARAMS params{};
        params.cbSize = sizeof(params);
        params.rcExclude = *exclude;
        return ::TrackPopupMenuEx(m_menu, flags, x, y, owner, &params);
    }

protected:
    HMENU m_menu = nullptr;
};
