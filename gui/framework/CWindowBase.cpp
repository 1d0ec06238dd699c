#include "CWindowBase.h"

#include <commctrl.h>
#include <exception>

namespace {
const wchar_t kObjectProperty[] = L"Quillet.CWindowBase";
const UINT_PTR kSubclassId = 0x516C5742;  // any constant that is ours alone
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
    if (!::SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_subclassed = true;
    BindHandle(hwnd);
    return true;
}

void CWindowBase::Unsubclass()
{
    if (!m_subclassed)
        return;
    ::RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
    m_subclassed = false;
    UnbindHandle();
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
    return hwnd ? static_cast<CWindowBase*>(::GetPropW(hwnd, kObjectProperty)) : nullptr;
}

void CWindowBase::BindHandle(HWND hwnd)
{
    m_hWnd = hwnd;
    m_bound = ::SetPropW(hwnd, kObjectProperty, this) != FALSE;
}

void CWindowBase::UnbindHandle()
{
    if (m_bound && m_hWnd && FromHandle(m_hWnd) == this)
        ::RemovePropW(m_hWnd, kObjectProperty);
    m_bound = false;
    m_hWnd = nullptr;
}

LRESULT CALLBACK CWindowBase::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
{
    auto* self = reinterpret_cast<CWindowBase*>(data);
    LRESULT result = 0;
    bool handled = self->DispatchSafely(msg, wp, lp, result);
    if (!handled)
        result = ::DefSubclassProc(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // The window is gone: nothing may reach this object any more.
        ::RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        self->m_subclassed = false;
        self->UnbindHandle();
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
    return m_subclassed ? ::DefSubclassProc(m_hWnd, msg, wp, lp) : 0;
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
