#include "CLoadingTreeCtrl.h"

#include "CDeviceContext.h"

#include <utility>

namespace {
const UINT kTimerResolutionMs = 5;
// The action bits of a tree's expand notification (TVE_EXPAND, TVE_COLLAPSE).
const UINT kExpandActionMask = 0x0003;
// Between a row's icon and its text.
const int kIconGap = 3;
// No deadline: read to the end.
const ULONGLONG kNoDeadline = ~0ull;
// The packed row of a placeholder out of sight (no visible row is empty).
const std::uint64_t kRowHidden = 0;

std::uint64_t PackRow(const RECT& r)
{
    auto field = [](LONG v, int shift) { return static_cast<std::uint64_t>(static_cast<std::uint16_t>(v)) << shift; };
    return field(r.left, 0) | field(r.top, 16) | field(r.right, 32) | field(r.bottom, 48);
}

RECT UnpackRow(std::uint64_t packed)
{
    auto field = [&](int shift) { return static_cast<LONG>(static_cast<std::int16_t>(packed >> shift)); };
    return {field(0), field(16), field(32), field(48)};
}

// A click or key press waiting in this thread's queue.
bool InputWaiting()
{
    return HIWORD(::GetQueueStatus(QS_MOUSEBUTTON | QS_KEY)) != 0;
}
}

CLoadingTreeCtrl::CLoadingTreeCtrl() = default;

CLoadingTreeCtrl::~CLoadingTreeCtrl()
{
    StopAnimation();
}

void CLoadingTreeCtrl::OnLoadingBegin(HTREEITEM) {}
void CLoadingTreeCtrl::OnLoadingTick(bool, int, int, const RECT&) {}
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
    case TVN_DELETEITEMW:
        // Whoever deletes the row or its item ends the loading with it.
        if (info.itemOld.hItem == m_placeholder)
            m_placeholder = nullptr;
        if (info.itemOld.hItem == m_loadingItem)
            AbandonLoading();
        result = 0;
        return true;
    default:
        return CTreeView::OnReflectedNotify(header, result);
    }
}

void CLoadingTreeCtrl::ExpandInSlices(HTREEITEM item)
{
    ++m_sliceRequests;
    Expand(item);
    --m_sliceRequests;
}

// Returns false to refuse the expansion.
bool CLoadingTreeCtrl::OnItemExpanding(const NMTREEVIEWW& info)
{
    HTREEITEM item = info.itemNew.hItem;
    const UINT action = info.action & kExpandActionMask;
    if (action == TVE_COLLAPSE) {
        if (item == m_loadingItem && !m_inSlice)
            CancelLoading();
        return true;
    }
    // Nothing may change the tree while a slice inserts into it.
    if (action != TVE_EXPAND || m_inSlice)
        return action != TVE_EXPAND;
    if (HasChildren(item)) {
        if (!NeedsReload(item))
            return true;
        while (HTREEITEM child = GetChild(item))
            DeleteItem(child);
    }
    // The newest expansion takes over; the older item is read again later.
    CancelLoading();
    m_loadingItem = item;
    m_scrollWhenLoaded = true;
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
    if ((info.action & kExpandActionMask) == TVE_EXPAND && m_loadingItem == item && !m_loader)
        StartLoading(item);
}

void CLoadingTreeCtrl::StartLoading(HTREEITEM item)
{
    HTREEITEM placeholder = m_placeholder;
    // The tree stays live while the level is read: the user may scroll,
    // click and type in it meanwhile.
    SetRedraw(true);
    if (m_drawAnimation) {
        EnsureVisible(placeholder);
        ::UpdateWindow(m_hWnd);
    }
    PublishPlaceholderRow();
    StartAnimation(placeholder);
    if (m_drawAnimation)
        ClearPlaceholderIcon(placeholder);

    try {
        m_loader = BeginLoad(item);
    } catch (...) {
        ::OutputDebugStringW(L"starting to load a tree item failed");
    }
    if (m_loader && m_sliceRequests > 0 && ::SetTimer(m_hWnd, kSliceTimerId, USER_TIMER_MINIMUM, nullptr))
        return;
    FinishLoading();
}

void CLoadingTreeCtrl::RunSlice()
{
    if (!m_loader) {
        ::KillTimer(m_hWnd, kSliceTimerId);
        return;
    }
    if (m_inSlice)
        return;
    const bool done = ReadSlice(::GetTickCount64() + kSliceMs);
    PublishPlaceholderRow();
    // The children would move the rows below the item: a click already on
    // its way must land on what the user saw when making it.
    if (done && !InputWaiting())
        EndLoading();
}

bool CLoadingTreeCtrl::ReadSlice(ULONGLONG deadline)
{
    m_inSlice = true;
    bool done = true;
    try {
        done = m_loader->ReadSome(deadline);
    } catch (...) {
        // The level keeps what was read so far.
        ::OutputDebugStringW(L"reading a tree item's children failed");
    }
    m_inSlice = false;
    return done;
}

void CLoadingTreeCtrl::FinishLoading()
{
    if (!m_loadingItem)
        return;
    while (m_loader && !ReadSlice(kNoDeadline)) {
    }
    EndLoading();
}

void CLoadingTreeCtrl::EndLoading()
{
    HTREEITEM item = m_loadingItem;
    ::KillTimer(m_hWnd, kSliceTimerId);
    SetRedraw(false);
    if (m_placeholder)
        DeleteItem(m_placeholder);
    m_placeholder = nullptr;
    bool loaded = true;
    m_inSlice = true;
    try {
        if (m_loader)
            loaded = m_loader->Finish();
    } catch (...) {
        ::OutputDebugStringW(L"inserting a tree item's children failed");
    }
    m_inSlice = false;
    // After the last progress report, so the bar is drawn full.
    StopAnimation();
    m_loader.reset();
    m_loadingItem = nullptr;

    if (item)
        SettleButton(item, loaded);
    SetRedraw(true);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    if (item && m_scrollWhenLoaded)
        ScrollChildrenIntoView(item);
}

void CLoadingTreeCtrl::CancelLoading()
{
    HTREEITEM item = m_loadingItem;
    if (!item || m_inSlice)
        return;
    HTREEITEM placeholder = m_placeholder;
    AbandonLoading();
    if (placeholder)
        DeleteItem(placeholder);
    MarkLoadAgain(item);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CLoadingTreeCtrl::AbandonLoading()
{
    if (m_hWnd)
        ::KillTimer(m_hWnd, kSliceTimerId);
    StopAnimation();
    m_loader.reset();
    m_loadingItem = nullptr;
    m_placeholder = nullptr;
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
    int drawnCount = -1, drawnTotal = -1;
    for (;;) {
        DWORD woken = ::WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0 && woken != WAIT_OBJECT_0 + 1)
            break;
        const bool stopping = m_stop;
        const int count = m_progressCount, total = m_progressTotal;
        // The last report before the stop is still shown: the bar ends full.
        if (stopping && count == drawnCount && total == drawnTotal)
            break;
        const std::uint64_t row = m_placeholderRow;
        if (row != kRowHidden) {
            const bool timerTick = woken == WAIT_OBJECT_0 && !stopping;
            OnLoadingTick(timerTick, total, count, UnpackRow(row));
            if (!timerTick)
                drawnCount = count, drawnTotal = total;
        }
        if (stopping)
            break;
    }
    return 0;
}

// Where the "Loading..." row is now: the tree may have scrolled since the
// last look, and the animation follows it.
void CLoadingTreeCtrl::PublishPlaceholderRow()
{
    RECT row{};
    const bool shown = m_placeholder && GetItemRect(m_placeholder, row, true) && row.right > row.left;
    m_placeholderRow = shown ? PackRow(row) : kRowHidden;
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

void CLoadingTreeCtrl::SettleButton(HTREEITEM item, bool loaded)
{
    if (item == TVI_ROOT)
        return;
    if (loaded) {
        TVITEMW state{};
        state.hItem = item;
        state.mask = TVIF_CHILDREN;
        state.cChildren = HasChildren(item) ? 1 : 0;
        SetItem(state);
    } else if (!HasChildren(item)) {
        MarkLoadAgain(item);
    }
}

// Collapsed, not "expanded once", and with its button back (the tree drops
// it with the placeholder, its last child), so the next expansion loads again.
void CLoadingTreeCtrl::MarkLoadAgain(HTREEITEM item)
{
    TVITEMW state{};
    state.hItem = item;
    state.mask = TVIF_STATE | TVIF_CHILDREN;
    state.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    state.state = 0;
    state.cChildren = 1;
    SetItem(state);
    // Inside an expansion the tree marks the item "expanded once" only after
    // the notices, and then sends none for a programmatic expansion; that
    // mark is taken off once the expanding message has returned.
    m_loadAgainItem = item;
}

// Shows as many of the new children as fit, keeping the item itself in view:
// all of them when they fit below it, else the item as the first row. One
// scroll, rather than one per child: each scroll repaints rows whose icons
// the shell is slow to find.
void CLoadingTreeCtrl::ScrollChildrenIntoView(HTREEITEM item) const
{
    const auto rows = static_cast<int>(SendMessage(TVM_GETVISIBLECOUNT));
    HTREEITEM last = nullptr;
    int count = 0;
    for (HTREEITEM child = GetChild(item); child && count < rows; child = GetNextSibling(child), ++count)
        last = child;
    if (!last)
        return;
    if (count < rows)
        EnsureVisible(last);
    else
        SendMessage(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(item));
}

void CLoadingTreeCtrl::ForgetExpandedOnce()
{
    HTREEITEM item = std::exchange(m_loadAgainItem, nullptr);
    if (!item || HasChildren(item) || item == m_loadingItem)
        return;
    TVITEMW state{};
    state.hItem = item;
    state.mask = TVIF_STATE;
    state.stateMask = TVIS_EXPANDEDONCE;
    SetItem(state);
}

// The messages by which a person expands an item.
bool CLoadingTreeCtrl::IsUserInput(UINT msg) const
{
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_KEYDOWN || msg == WM_CHAR;
}

bool CLoadingTreeCtrl::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (msg == WM_TIMER && wp == kSliceTimerId) {
        RunSlice();
        result = 0;
        return true;
    }
    if (msg == WM_DESTROY)
        AbandonLoading();
    if (msg == TVM_EXPAND || IsUserInput(msg)) {
        const bool byUser = IsUserInput(msg);
        m_sliceRequests += byUser ? 1 : 0;
        result = DefaultProc(msg, wp, lp);
        m_sliceRequests -= byUser ? 1 : 0;
        ForgetExpandedOnce();
        return true;
    }
    if (msg == WM_PAINT && m_loadingItem) {
        // The tree has painted over the animation, perhaps after a scroll.
        result = DefaultProc(msg, wp, lp);
        PublishPlaceholderRow();
        if (m_progressEvent)
            ::SetEvent(m_progressEvent.Get());
        return true;
    }
    return CTreeView::OnMessage(msg, wp, lp, result);
}
