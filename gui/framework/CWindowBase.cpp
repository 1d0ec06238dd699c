#include "CWindowBase.h"

#include <commctrl.h>
#include <exception>
#include <mutex>
#include <unordered_map>

namespace {

// The objects bound to windows, looked up on every message a window gets and
// on every notification a child sends. A table in the process, because a
// window property (which SetWindowSubclass also uses) lives in the window
// server under Wine: each lookup there is a round trip to it, and a list with
// thousands of rows makes thousands of messages. Entries go when the window
// is destroyed (WM_NCDESTROY) or the object unbinds, whichever comes first.
// A subclassed window also keeps the procedure it had before, so its
// messages still reach that procedure once the object has let go of it.
struct CBoundWindow {
    CWindowBase* object = nullptr;
    WNDPROC previous = nullptr;
};

struct CBoundWindows {
    std::mutex lock;
    std::unordered_map<HWND, CBoundWindow> windows;
};

CBoundWindows& BoundWindows()
{
    static CBoundWindows table;
    return table;
}

// The object and the earlier procedure of a subclassed window; at
// WM_NCDESTROY the window's entry is dropped as well.
CBoundWindow LookUp(HWND hwnd, bool drop)
{
    CBoundWindows& table = BoundWindows();
    std::lock_guard<std::mutex> hold(table.lock);
    auto found = table.windows.find(hwnd);
    if (found == table.windows.end())
        return {};
    CBoundWindow entry = found->second;
    if (drop)
        table.windows.erase(found);
    return entry;
}
}

CWindowBase::~CWindowBase()
{
    Unsubclass();
    UnbindHandle();
}

void CWindowBase::Attach(HWND hwnd)
{
    Unsubclass();
    UnbindHandle();
    m_hWnd = hwnd;
}

bool CWindowBase::Subclass(HWND hwnd)
{
    Attach(nullptr);
    if (!hwnd || FromHandle(hwnd))
        return false;
    BindHandle(hwnd);
    if (!m_bound)
        return false;
    // Still in the window's chain from an earlier object: the table has kept
    // the procedure from before it.
    if (::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProc) &&
        LookUp(hwnd, false).previous) {
        m_subclassed = true;
        return true;
    }
    const LONG_PTR previous = ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
    if (!previous) {
        UnbindHandle();
        return false;
    }
    CBoundWindows& table = BoundWindows();
    {
        std::lock_guard<std::mutex> hold(table.lock);
        table.windows[hwnd].previous = reinterpret_cast<WNDPROC>(previous);
    }
    m_subclassed = true;
    return true;
}

void CWindowBase::Unsubclass()
{
    if (!m_subclassed)
        return;
    m_subclassed = false;
    HWND hwnd = m_hWnd;
    UnbindHandle();
    // Back to the earlier procedure when nobody has subclassed over this one;
    // otherwise the table keeps forwarding to it until the window goes.
    CBoundWindows& table = BoundWindows();
    std::lock_guard<std::mutex> hold(table.lock);
    auto found = table.windows.find(hwnd);
    if (found == table.windows.end() || !found->second.previous)
        return;
    if (::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProc)) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.previous));
        table.windows.erase(found);
    }
}

bool CWindowBase::CreateChild(const wchar_t* className, HWND parent, int id, DWORD style, DWORD exStyle,
                              const RECT& rect, const wchar_t* text)
{
    HWND hwnd = ::CreateWindowExW(exStyle, className, text ? text : L"", style | WS_CHILD, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                  nullptr);
    if (!hwnd)
        return false;
    if (!Subclass(hwnd)) {
        ::DestroyWindow(hwnd);
        return false;
    }
    return true;
}

CWindowBase* CWindowBase::FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    CBoundWindows& table = BoundWindows();
    std::lock_guard<std::mutex> hold(table.lock);
    auto found = table.windows.find(hwnd);
    return found == table.windows.end() ? nullptr : found->second.object;
}

void CWindowBase::BindHandle(HWND hwnd)
{
    m_hWnd = hwnd;
    m_bound = false;
    if (!hwnd)
        return;
    CBoundWindows& table = BoundWindows();
    std::lock_guard<std::mutex> hold(table.lock);
    try {
        table.windows[hwnd].object = this;
        m_bound = true;
    } catch (const std::bad_alloc&) {
        // Unbound: the window then gets no object.
    }
}

void CWindowBase::UnbindHandle()
{
    if (m_bound && m_hWnd) {
        CBoundWindows& table = BoundWindows();
        std::lock_guard<std::mutex> hold(table.lock);
        auto found = table.windows.find(m_hWnd);
        if (found != table.windows.end() && found->second.object == this) {
            found->second.object = nullptr;
            if (!found->second.previous)
                table.windows.erase(found);
        }
    }
    m_bound = false;
    m_hWnd = nullptr;
}

LRESULT CALLBACK CWindowBase::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    const CBoundWindow entry = LookUp(hwnd, false);
    if (!entry.previous)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT result = 0;
    CWindowBase* self = entry.object;
    bool handled = self && self->DispatchSafely(msg, wp, lp, result);
    if (!handled)
        result = ::CallWindowProcW(entry.previous, hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // The window is gone: nothing may reach this object any more.
        if (CWindowBase* still = LookUp(hwnd, true).object) {
            still->m_subclassed = false;
            still->m_bound = false;
            still->m_hWnd = nullptr;
        }
    }
    return result;
}

bool CWindowBase::DispatchSafely(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) noexcept
{
    try {
        return OnMessage(msg, wp, lp, result);
    } catch (const std::exception& e) {
        ::OutputDebugStringA(e.what());
    } catch (...) {
        ::OutputDebugStringW(L"unknown exception in a window procedure");
    }
    result = 0;
    return false;
}

LRESULT CWindowBase::DefaultProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (!m_subclassed)
        return 0;
    const WNDPROC previous = LookUp(m_hWnd, false).previous;
    return previous ? ::CallWindowProcW(previous, m_hWnd, msg, wp, lp) : 0;
}

bool CWindowBase::DispatchReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    HWND child = nullptr;
    if (msg == WM_COMMAND)
        child = reinterpret_cast<HWND>(lp);
    else if (msg == WM_NOTIFY)
        child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
    else if (msg == WM_DRAWITEM && wp != 0)
        child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
    CWindowBase* object = FromHandle(child);
    if (!object || object == this)
        return false;
    if (msg == WM_COMMAND)
        return object->OnReflectedCommand(HIWORD(wp), result);
    if (msg == WM_NOTIFY)
        return object->OnReflectedNotify(reinterpret_cast<NMHDR*>(lp), result);
    result = TRUE;
    return object->OnReflectedDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lp));
}

bool CWindowBase::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    result = 0;
    // Coordinates are signed 16-bit halves (negative on secondary monitors).
    POINT point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    switch (msg) {
    case WM_COMMAND:
        if (lp && DispatchReflected(msg, wp, lp, result))
            return true;
        return RouteCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
    case WM_NOTIFY:
        if (DispatchReflected(msg, wp, lp, result))
            return true;
        return OnNotify(reinterpret_cast<NMHDR*>(lp), result);
    case WM_DRAWITEM:
        if (DispatchReflected(msg, wp, lp, result))
            return true;
        result = TRUE;
        return OnDrawItem(static_cast<UINT>(wp), reinterpret_cast<DRAWITEMSTRUCT*>(lp));
    case WM_DESTROY:
        OnDestroy();
        return false;
    case WM_CLOSE:
        return OnClose();
    case WM_SIZE:
        return OnSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
    case WM_GETMINMAXINFO:
        return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp));
    case WM_PAINT:
        return OnPaint();
    case WM_ERASEBKGND:
        return OnEraseBackground(reinterpret_cast<HDC>(wp), result);
    case WM_TIMER:
        return OnTimer(wp);
    case WM_CONTEXTMENU:
        return OnContextMenu(reinterpret_cast<HWND>(wp), point);
    case WM_DROPFILES:
        return OnDropFiles(reinterpret_cast<HDROP>(wp));
    case WM_INITMENUPOPUP:
        return OnInitMenuPopup(reinterpret_cast<HMENU>(wp), LOWORD(lp), HIWORD(lp) != 0);
    case WM_SETCURSOR:
        result = TRUE;
        return OnSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp), HIWORD(lp));
    case WM_MOUSEMOVE:
        return OnMouseMove(static_cast<UINT>(wp), point);
    case WM_MOUSELEAVE:
        return OnMouseLeave();
    case WM_LBUTTONDOWN:
        return OnLButtonDown(static_cast<UINT>(wp), point);
    default:
        return false;
    }
}

bool CWindowBase::RouteCommand(UINT id, UINT code, HWND control)
{
    return OnCommand(id, code, control);
}

bool CWindowBase::OnReflectedCommand(UINT, LRESULT&) { return false; }
bool CWindowBase::OnReflectedNotify(NMHDR*, LRESULT&) { return false; }
bool CWindowBase::OnReflectedDrawItem(DRAWITEMSTRUCT*) { return false; }
bool CWindowBase::OnCommand(UINT, UINT, HWND) { return false; }
bool CWindowBase::OnNotify(NMHDR*, LRESULT&) { return false; }
bool CWindowBase::OnDrawItem(UINT, DRAWITEMSTRUCT*) { return false; }
void CWindowBase::OnDestroy() {}
bool CWindowBase::OnClose() { return false; }
bool CWindowBase::OnSize(UINT, int, int) { return false; }
bool CWindowBase::OnGetMinMaxInfo(MINMAXINFO*) { return false; }
bool CWindowBase::OnPaint() { return false; }
bool CWindowBase::OnEraseBackground(HDC, LRESULT&) { return false; }
bool CWindowBase::OnTimer(UINT_PTR) { return false; }
bool CWindowBase::OnContextMenu(HWND, POINT) { return false; }
bool CWindowBase::OnDropFiles(HDROP) { return false; }
bool CWindowBase::OnInitMenuPopup(HMENU, UINT, bool) { return false; }
bool CWindowBase::OnSetCursor(HWND, UINT, UINT) { return false; }
bool CWindowBase::OnMouseMove(UINT, POINT) { return false; }
bool CWindowBase::OnMouseLeave() { return false; }
bool CWindowBase::OnLButtonDown(UINT, POINT) { return false; }
