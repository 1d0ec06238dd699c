#pragma once
// Classes: CCommandState, the state of one command as the windows and the
// application decide it while the user interface is updated (toolbar buttons
// at idle time, popup-menu items when a popup opens).
#include <windows.h>

struct CCommandState {
    explicit CCommandState(UINT id) : m_id(id) {}

    void Enable(bool enabled = true)
    {
        m_enabled = enabled;
        m_claimed = true;
    }
    void Check(bool checked = true)
    {
        m_checked = checked;
        m_claimed = true;
    }

    UINT m_id;
    bool m_enabled = true;
    bool m_checked = false;
    // Set by whoever handles the command; unclaimed commands may be disabled automatically.
    bool m_claimed = false;
};
