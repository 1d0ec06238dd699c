#include "CTipCtrl.h"

void CTipCtrl::RelayMouseMove(const MSG& msg) const
{
    if (msg.message != WM_MOUSEMOVE || !m_hWnd)
        return;
    HWND tool = WindowFromPoint(msg.pt);
    if (!tool)
        return;
    // The control's own message, as it would have got it were it enabled: the
    // tip control matches TTF_IDISHWND tools by the message's window.
    MSG copy = msg;
    POINT client = msg.pt;
    ::ScreenToClient(tool, &client);
    copy.hwnd = tool;
    copy.lParam = MAKELPARAM(client.x, client.y);
    Activate(true);
    RelayEvent(&copy);
}

HWND CTipCtrl::DeepestChildFromPoint(HWND top, POINT screenPoint)
{
    HWND found = top;
    for (;;) {
        POINT client = screenPoint;
        ::ScreenToClient(found, &client);
        HWND child = ::ChildWindowFromPointEx(found, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!child || child == found)
            return found;
        found = child;
    }
}

bool CTipCtrl::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    // The tip control asks this itself before it shows or hides a tip; the
    // default answer (WindowFromPoint) would never name a disabled control.
    if (msg == TTM_WINDOWFROMPOINT && lp) {
        const POINT point = *reinterpret_cast<const POINT*>(lp);
        HWND top = ::WindowFromPoint(point);
        result = reinterpret_cast<LRESULT>(top ? DeepestChildFromPoint(top, point) : nullptr);
        return true;
    }
    return CToolTip::OnMessage(msg, wp, lp, result);
}
