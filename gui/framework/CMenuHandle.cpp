#include "CMenuHandle.h"

bool CMenuHandle::IsItemEnabled(UINT id) const
{
    UINT state = ::GetMenuState(m_menu, id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

bool CMenuHandle::IsItemChecked(UINT id) const
{
    UINT state = ::GetMenuState(m_menu, id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

BOOL CMenuHandle::TrackPopup(UINT flags, int x, int y, HWND owner, const RECT* exclude) const
{
    if (!exclude)
        return ::TrackPopupMenuEx(m_menu, flags, x, y, owner, nullptr);
    TPMPARAMS params{};
    params.cbSize = sizeof(params);
    params.rcExclude = *exclude;
    return ::TrackPopupMenuEx(m_menu, flags, x, y, owner, &params);
}
