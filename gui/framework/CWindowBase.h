#pragma once
// Classes: CWindowBase, the base of every window object: it either just
// attaches to an HWND (a view) or subclasses it, and then dispatches the
// window's messages to virtual handlers. Notifications a control sends to its
// parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM) are first offered back to the
// control's own object ("reflected"); a reflected handler that returns false
// lets the parent see the notification too. No exception leaves a window
// procedure: the boundary catches everything and falls back to the default.
#include "CWindow.h"

#include <windows.h>
#include <shellapi.h>

class CWindowBase : public CWindow {
public:
    CWindowBase() = default;
    explicit CWindowBase(HWND hwnd) : CWindow(hwnd) {}
    virtual ~CWindowBase();
    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;

    // A view only: no messages reach this object.
    void Attach(HWND hwnd);
    // Routes the window's messages through OnMessage until Unsubclass,
    // the window's destruction or this object's destruction.
    bool Subclass(HWND hwnd);
    void Unsubclass();
    // CreateWindowExW followed by Subclass.
    bool CreateChild(const wchar_t* className, HWND parent, int id, DWORD style, DWORD exStyle = 0,
                     const RECT& rect = {}, const wchar_t* text = nullptr);
    bool IsSubclassed() const { return m_subclassed; }

    // The object that receives the window's messages, or null.
    static CWindowBase* FromHandle(HWND hwnd);

    virtual bool OnReflectedCommand(UINT code, LRESULT& result);
    virtual bool OnReflectedNotify(NMHDR* header, LRESULT& result);
    virtual bool OnReflectedDrawItem(DRAWITEMSTRUCT* item);

protected:
    // The message map. Returns true when handled (result holds the answer);
    // false passes the message on to the default processing. Overrides handle
    // what they need and call the base for the rest.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // The processing a message gets when no handler takes it.
    virtual LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
    // WM_COMMAND after reflection; the base offers it to OnCommand only.
    virtual bool RouteCommand(UINT id, UINT code, HWND control);

    virtual bool OnCommand(UINT id, UINT code, HWND control);
    virtual bool OnNotify(NMHDR* header, LRESULT& result);
    virtual bool OnDrawItem(UINT id, DRAWITEMSTRUCT* item);
    virtual void OnDestroy();
    virtual bool OnClose();
    virtual bool OnSize(UINT type, int cx, int cy);
    virtual bool OnGetMinMaxInfo(MINMAXINFO* info);
    virtual bool OnPaint();
    virtual bool OnEraseBackground(HDC dc, LRESULT& result);
    virtual bool OnTimer(UINT_PTR id);
    virtual bool OnContextMenu(HWND window, POINT screenPoint);
    virtual bool OnDropFiles(HDROP drop);
    virtual bool OnInitMenuPopup(HMENU popup, UINT index, bool systemMenu);
    virtual bool OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage);
    virtual bool OnMouseMove(UINT keys, POINT point);
    virtual bool OnMouseLeave();
    virtual bool OnLButtonDown(UINT keys, POINT point);

    // The exception boundary shared by window and dialog procedures.
    bool DispatchSafely(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) noexcept;
    // Binds this object to the window (FromHandle finds it) and unbinds it.
    void BindHandle(HWND hwnd);
    void UnbindHandle();

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool DispatchReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    bool m_subclassed = false;
    bool m_bound = false;
};
