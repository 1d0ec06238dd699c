#include "CLoadingTreeCtrl.h"

#include "CDeviceContext.h"

#include <utility>

namespace {
const UINT kTimerResolutionMs = 5;
// The action bits of a tree's expand notification (TVE_EXPAND, TVE_COLLAPSE).
const UINT kExpandActionMask = 0x0003;
// Between a row's icon and its text.
const int kIconGap = 3;
}

CLoadingTreeCtrl::CLoadingTreeCtrl() = default;

CLoadingTreeCtrl::~CLoadingTreeCtrl()
{
    StopAnimation();
}

void CLoadingTreeCtrl::OnLoadingBegin(HTREEITEM) {}
void CLoadingTreeCtrl::OnLoadingTick(bool, int, int) {}
void CLoadingTreeCtrl::OnLoadingEnd() {}

bool CLoadingTreeCtrl::NeedsReload(HTREEITEM)
{
    return false;
}

void CLoadingTreeCtrl::ReportProgress(int count, int total)
{
    m_progressTotal = total;
    m_progressCount = count;
    if (m_progressEvent)
        ::SetEvent(m_progressEvent.Get());
}

bool CLoadingTreeCtrl::OnReflectedNotify(NMHDR* header, LRESULT& result)
{
    const auto& info = *reinterpret_cast<const NMTREEVIEWW*>(header);
    switch (header->code) {
    case TVN_ITEMEXPANDINGW:
        result = OnItemExpanding(info) ? FALSE : TRUE;
        return true;
    case TVN_ITEMEXPANDEDW:
        OnItemExpanded(info);
        result = 0;
        return true;
    default:
        return CTreeView::OnReflectedNotify(header, result);
    }
}

// Returns false to refuse the expansion.
bool CLoadingTreeCtrl::OnItemExpanding(const NMTREEVIEWW& info)
{
    if ((info.action & kExpandActionMask) != TVE_EXPAND || m_loadingItem)
        return true;
    HTREEITEM item = info.itemNew.hItem;
    if (HasChildren(item)) {
        if (!NeedsReload(item))
            return true;
        while (HTREEITEM child = GetChild(item))
            DeleteItem(child);
    }
    m_loadingItem = item;
    ::UpdateWindow(m_hWnd);
    SetRedraw(false);
    m_placeholder = InsertItem(kPlaceholderText, 0, 0, item);
    if (!m_placeholder) {
        m_loadingItem = nullptr;
        SetRedraw(true);
        return false;
    }
    return true;
}

void CLoadingTreeCtrl::OnItemExpanded(const NMTREEVIEWW& info)
{
    HTREEITEM item = info.itemNew.hItem;
    if ((info.action & kExpandActionMask) == TVE_COLLAPSE) {
        if (NeedsReload(item)) {
            while (HTREEITEM child = GetChild(item))
                DeleteItem(child);
        }
        return;
    }
    if ((info.action & kExpandActionMask) == TVE_EXPAND && m_loadingItem == item)
        LoadExpandedItem(item);
}

void CLoadingTreeCtrl::LoadExpandedItem(HTREEITEM item)
{
    HTREEITEM placeholder = m_placeholder;
    if (m_drawAnimation) {
        SetRedraw(true);
        EnsureVisible(placeholder);
        ::UpdateWindow(m_hWnd);
    }
    StartAnimation(placeholder);
    if (m_drawAnimation)
        ClearPlaceholderIcon(placeholder);

    SetRedraw(false);
    TakeSnapshot();
    DeleteItem(placeholder);
    m_placeholder = nullptr;
    bool loaded = true;
    try {
        loaded = LoadChildren(item);
    } catch (...) {
        // Whatever went wrong, the animation must stop and redrawing come
        // back; the item keeps the children it got so far.
        ::OutputDebugStringW(L"loading a tree item failed");
    }
    StopAnimation();

    SettleButton(item, loaded);
    m_snapshot.Reset();
    m_snapshotValid = false;
    m_loadingItem = nullptr;
    SetRedraw(true);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ScrollChildrenIntoView(item);
}

void CLoadingTreeCtrl::StartAnimation(HTREEITEM placeholder)
{
    OnLoadingBegin(placeholder);
    m_stop = false;
    m_progressCount = 0;
    m_progressTotal = 0;
    // Both start signalled, so the thread draws once as soon as it runs.
    m_timerEvent.Reset(::CreateEventW(nullptr, FALSE, TRUE, nullptr));
    m_progressEvent.Reset(::CreateEventW(nullptr, FALSE, TRUE, nullptr));
    if (!m_timerEvent || !m_progressEvent)
        return;
    m_animationThread = std::make_unique<CWorkerThread>([this] { return AnimationLoop(); });
    if (!m_animationThread->Create() || !m_animationThread->Resume()) {
        m_animationThread.reset();
        return;
    }
    if (m_timerPeriod)
        m_timer.StartSettingEvent(m_timerPeriod, kTimerResolutionMs, m_timerEvent.Get());
}

void CLoadingTreeCtrl::StopAnimation()
{
    const bool wasLoading = static_cast<bool>(m_timerEvent);
    m_timer.Stop();
    m_stop = true;
    if (m_progressEvent)
        ::SetEvent(m_progressEvent.Get());
    if (m_animationThread) {
        // The join serves sent messages, should the drawing ever send one here.
        m_animationThread->Join();
        m_animationThread.reset();
    }
    m_timerEvent.Reset();
    m_progressEvent.Reset();
    if (wasLoading)
        OnLoadingEnd();
}

unsigned CLoadingTreeCtrl::AnimationLoop()
{
    HANDLE events[] = {m_timerEvent.Get(), m_progressEvent.Get()};
    while (!m_stop) {
        DWORD woken = ::WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0 && woken != WAIT_OBJECT_0 + 1)
            break;
        if (m_stop)
            break;
        OnLoadingTick(woken == WAIT_OBJECT_0, m_progressTotal, m_progressCount);
    }
    return 0;
}

void CLoadingTreeCtrl::ClearPlaceholderIcon(HTREEITEM placeholder) const
{
    RECT text{};
    if (!GetItemRect(placeholder, text, true))
        return;
    const int width = ::GetSystemMetrics(SM_CXSMICON);
    const int height = ::GetSystemMetrics(SM_CYSMICON);
    const int top = text.top + ((text.bottom - text.top) - height) / 2;
    RECT icon{text.left - kIconGap - width, top, text.left - kIconGap, top + height};
    CWindowDC dc(m_hWnd);
    CBrush brush(::CreateSolidBrush(BackgroundColour()));
    if (dc)
        ::FillRect(dc.Handle(), &icon, brush.Get());
}

COLORREF CLoadingTreeCtrl::BackgroundColour() const
{
    // CLR_NONE (-1): the tree uses the system's window colour.
    auto colour = static_cast<COLORREF>(SendMessage(TVM_GETBKCOLOR));
    return colour == CLR_NONE ? ::GetSysColor(COLOR_WINDOW) : colour;
}

void CLoadingTreeCtrl::TakeSnapshot()
{
    RECT client = GetClientRect();
    CWindowDC dc(m_hWnd);
    if (!dc)
        return;
    m_snapshot.Reset(::CreateCompatibleBitmap(dc.Handle(), client.right, client.bottom));
    CMemoryDC memory(dc.Handle(), m_snapshot.Get());
    if (!memory)
        return;
    ::BitBlt(memory.Handle(), 0, 0, client.right, client.bottom, dc.Handle(), 0, 0, SRCCOPY);
    m_snapshotSize = {client.right, client.bottom};
    m_snapshotValid = true;
}

void CLoadingTreeCtrl::SettleButton(HTREEITEM item, bool loaded)
{
    if (item == TVI_ROOT)
        return;
    TVITEMW state{};
    state.hItem = item;
    if (loaded) {
        state.mask = TVIF_CHILDREN;
        state.cChildren = HasChildren(item) ? 1 : 0;
        SetItem(state);
    } else if (!HasChildren(item)) {
        // Collapsed, not "expanded once", and with its button back (the tree
        // drops it with the placeholder, its last child), so the next
        // expansion loads again.
        state.mask = TVIF_STATE | TVIF_CHILDREN;
        state.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
        state.state = 0;
        state.cChildren = 1;
        SetItem(state);
        // The tree marks the item "expanded once" only after this notice, and
        // then sends no notices for a programmatic expansion; that mark is
        // taken off once the expanding message has returned.
        m_loadAgainItem = item;
    }
}

void CLoadingTreeCtrl::ScrollChildrenIntoView(HTREEITEM item) const
{
    for (HTREEITEM child = GetChild(item); child; child = GetNextSibling(child)) {
        EnsureVisible(child);
        if (GetNextItem(nullptr, TVGN_FIRSTVISIBLE) == item)
            break;
    }
}

void CLoadingTreeCtrl::ForgetExpandedOnce()
{
    HTREEITEM item = std::exchange(m_loadAgainItem, nullptr);
    if (!item || HasChildren(item))
        return;
    TVITEMW state{};
    state.hItem = item;
    state.mask = TVIF_STATE;
    state.stateMask = TVIS_EXPANDEDONCE;
    SetItem(state);
}

bool CLoadingTreeCtrl::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    // The messages that can expand an item.
    if (msg == TVM_EXPAND || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_KEYDOWN) {
        result = DefaultProc(msg, wp, lp);
        ForgetExpandedOnce();
        return true;
    }
    if (msg == WM_ERASEBKGND && m_snapshotValid) {
        HDC dc = reinterpret_cast<HDC>(wp);
        CMemoryDC memory(dc, m_snapshot.Get());
        if (memory)
            ::BitBlt(dc, 0, 0, m_snapshotSize.cx, m_snapshotSize.cy, memory.Handle(), 0, 0, SRCCOPY);
        // The animation has just been painted over: let it draw again.
        if (m_progressEvent)
            ::SetEvent(m_progressEvent.Get());
        result = TRUE;
        return true;
    }
    return CTreeView::OnMessage(msg, wp, lp, result);
}
