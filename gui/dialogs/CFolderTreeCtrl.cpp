#include "CFolderTreeCtrl.h"

#include "CApplication.h"
#include "CDeviceContext.h"
#include "CMenu.h"
#include "LoadingProgressBar.h"

#include <algorithm>

namespace {
// The gap between the "Loading..." text and the bar, and between the
// hourglass and the text.
const int kBarGap = 2;
const int kHourglassGap = 3;

HINSTANCE ResourceModule()
{
    CApplication* app = CApplication::Current();
    return app && app->Instance() ? app->Instance() : ::GetModuleHandleW(nullptr);
}

RECT TextRect(const CTreeView& tree, HTREEITEM item)
{
    RECT rect{};
    if (!item || !tree.GetItemRect(item, rect, true))
        return {};
    return rect;
}
}

CFolderTreeCtrl::CFolderTreeCtrl()
{
    SetTimerPeriod(kAnimationPeriodMs);
    SetDrawAnimation(true);
    // Loaded at the size it is drawn, so no frame is scaled twice.
    m_hourglass.Reset(static_cast<HCURSOR>(::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(kHourglassCursorId),
                                                         IMAGE_CURSOR, ::GetSystemMetrics(SM_CXSMICON),
                                                         ::GetSystemMetrics(SM_CYSMICON), 0)));
}

void CFolderTreeCtrl::OnLoadingBegin(HTREEITEM placeholder)
{
    m_frameBrush.Reset(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
    m_fillBrush.Reset(::CreateSolidBrush(kBarFillColour));
    m_backgroundBrush.Reset(::CreateSolidBrush(BackgroundColour()));
    m_lastFillWidth = 0;
    m_frame = 0;
    PlaceAnimation(TextRect(*this, placeholder));
}

// The bar starts 2 pixels right of the row's text, the hourglass ends 3
// pixels left of it; both are centred on the row.
void CFolderTreeCtrl::PlaceAnimation(const RECT& text)
{
    const int rowHeight = text.bottom - text.top;
    const int barHeight = std::min(rowHeight, kBarMaxHeight);
    m_barFrame.left = text.right + kBarGap;
    m_barFrame.top = text.top + (rowHeight - barHeight) / 2;
    m_barFrame.right = m_barFrame.left + kBarWidth;
    m_barFrame.bottom = m_barFrame.top + barHeight;
    m_barFill = {m_barFrame.left + kBarInset, m_barFrame.top + kBarInset, m_barFrame.left + kBarInset,
                 m_barFrame.bottom - kBarInset};

    const int iconWidth = ::GetSystemMetrics(SM_CXSMICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYSMICON);
    m_hourglassRect.right = text.left - kHourglassGap;
    m_hourglassRect.left = m_hourglassRect.right - iconWidth;
    m_hourglassRect.top = text.top + (rowHeight - iconHeight) / 2;
    m_hourglassRect.bottom = m_hourglassRect.top + iconHeight;
}

void CFolderTreeCtrl::OnLoadingTick(bool timerTick, int total, int count, const RECT& row)
{
    CWindowDC dc(m_hWnd);
    if (!dc)
        return;
    // The row moves when the tree scrolls while it loads.
    PlaceAnimation(row);
    if (timerTick) {
        m_frame = (m_frame + 1) % kHourglassFrames;
        DrawHourglass(dc.Handle());
    } else {
        DrawProgress(dc.Handle(), total, count);
        // A progress wake-up also follows a repaint of the tree, which
        // covered the hourglass.
        DrawHourglass(dc.Handle());
    }
}

void CFolderTreeCtrl::DrawProgress(HDC dc, int total, int count)
{
    ::FillRect(dc, &m_barFrame, m_frameBrush.Get());
    const int fullWidth = (m_barFrame.right - m_barFrame.left) - 2 * kBarInset;
    m_lastFillWidth = LoadingFillWidth(count, total, fullWidth);
    RECT fill = m_barFill;
    fill.right = fill.left + m_lastFillWidth;
    if (fill.right > fill.left)
        ::FillRect(dc, &fill, m_fillBrush.Get());
}

void CFolderTreeCtrl::DrawHourglass(HDC dc)
{
    if (!m_hourglass)
        return;
    ::DrawIconEx(dc, m_hourglassRect.left, m_hourglassRect.top, m_hourglass.Get(),
                 m_hourglassRect.right - m_hourglassRect.left, m_hourglassRect.bottom - m_hourglassRect.top,
                 static_cast<UINT>(m_frame), m_backgroundBrush.Get(), DI_NORMAL);
}

void CFolderTreeCtrl::OnLoadingEnd()
{
    m_frameBrush.Reset();
    m_fillBrush.Reset();
    m_backgroundBrush.Reset();
}

bool CFolderTreeCtrl::OnReflectedNotify(NMHDR* header, LRESULT& result)
{
    if (header->code == NM_RCLICK) {
        // From a click: where the pointer was when it was made. The tree also
        // reports the context-menu key and Shift+F10 this way; the menu then
        // opens at the selected item, as a keyboard user looks there.
        POINT at = KeyboardMenuPoint();
        if (m_rightButtonDepth > 0) {
            const DWORD pos = ::GetMessagePos();
            at = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        }
        ShowContextMenu(at);
        // Answered: the tree then sends no WM_CONTEXTMENU for the same click,
        // so the menu shows once.
        result = TRUE;
        return true;
    }
    return CShellTreeCtrl::OnReflectedNotify(header, result);
}

POINT CFolderTreeCtrl::KeyboardMenuPoint() const
{
    HTREEITEM selected = GetSelection();
    if (selected)
        EnsureVisible(selected);
    RECT text = TextRect(*this, selected);
    POINT at{text.left, text.bottom};
    ::ClientToScreen(m_hWnd, &at);
    return at;
}

bool CFolderTreeCtrl::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (m_contextMenu.HandleMenuMessage(msg, wp, lp, result))
        return true;
    if (msg == WM_CONTEXTMENU) {
        POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        // From the keyboard (-1, -1): under the selected item.
        if (at.x == -1 && at.y == -1)
            at = KeyboardMenuPoint();
        ShowContextMenu(at);
        result = 0;
        return true;
    }
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) {
        ++m_rightButtonDepth;
        const bool handled = CShellTreeCtrl::OnMessage(msg, wp, lp, result);
        if (!handled)
            result = DefaultProc(msg, wp, lp);
        --m_rightButtonDepth;
        return true;
    }
    return CShellTreeCtrl::OnMessage(msg, wp, lp, result);
}

bool CFolderTreeCtrl::OnCommand(UINT id, UINT code, HWND control)
{
    if (id >= CShellContextMenu::kFirstCommand && id <= CShellContextMenu::kLastCommand)
        return m_contextMenu.InvokeCommand(m_hWnd, id);
    return CShellTreeCtrl::OnCommand(id, code, control);
}

bool CFolderTreeCtrl::ShowContextMenu(POINT screenPoint)
{
    const CShellTreeItem* data = ItemData(GetSelection());
    if (!data || !data->parentFolder)
        return false;
    CMenu menu;
    if (!menu.CreatePopup() || !m_contextMenu.Fill(m_hWnd, data->parentFolder.Get(), data->LastId(), menu.Handle()))
        return false;
    ++m_menusShown;
    return TrackContextMenu(menu.Handle(), screenPoint);
}

bool CFolderTreeCtrl::TrackContextMenu(HMENU menu, POINT screenPoint)
{
    return m_contextMenu.Track(m_hWnd, menu, screenPoint);
}
