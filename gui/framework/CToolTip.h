#pragma once
// Classes: CToolTip, a tool-tip control owned by a window (destroyed with it).
#include "CWindowBase.h"

#include <commctrl.h>

class CToolTip : public CWindowBase {
public:
    CToolTip() = default;
    explicit CToolTip(HWND hwnd) : CWindowBase(hwnd) {}

    bool Create(HWND owner, DWORD style = TTS_ALWAYSTIP);
    // A tool that is a window; LPSTR_TEXTCALLBACKW asks the owner (TTN_NEEDTEXT).
    bool AddTool(HWND tool, const wchar_t* text = LPSTR_TEXTCALLBACKW, UINT flags = TTF_IDISHWND | TTF_SUBCLASS) const;
    bool AddTool(HWND window, UINT_PTR id, const RECT& rect, const wchar_t* text = LPSTR_TEXTCALLBACKW) const;
    void DelTool(HWND tool) const;
    int SetMaxTipWidth(int width) const { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }
    void Activate(bool active) const { SendMessage(TTM_ACTIVATE, active); }
    void RelayEvent(MSG* msg) const { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
    // The tool window under a point (screen coordinates in a MSG), or null.
    HWND WindowFromPoint(POINT screenPoint) const
    {
        return reinterpret_cast<HWND>(SendMessage(TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&screenPoint)));
    }
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
};
