#pragma once
// Classes: CLoadingTreeCtrl, a tree that loads an item's children when the
// item is first expanded. While it loads, a "Loading..." row stands under the
// item and an animation thread, woken by a periodic timer and by progress
// reports, lets a derived class draw on that row.
//
// A level is read in slices of a few milliseconds from a window timer, and
// its children go into the tree in one step at the end, so the tree (and its
// dialog) answers every click and key in between. An expansion from the
// keyboard or the mouse, and ExpandInSlices, load this way; a TVM_EXPAND from
// code returns with the level loaded, as a caller of it expects. One level
// loads at a time: expanding another item takes over, and collapsing the
// item, or closing the window, stops the loading. An item whose loading was
// stopped goes back to collapsed and is read again on its next expansion.
//
// Derived classes provide BeginLoad and may draw in the OnLoading* hooks.
// The tree's notifications reach it by reflection from its parent window.
#include "CMultimediaTimer.h"
#include "CTreeView.h"
#include "CUniqueHandle.h"
#include "CWorkerThread.h"

#include <atomic>
#include <cstdint>
#include <memory>

class CLoadingTreeCtrl : public CTreeView {
public:
    static constexpr wchar_t kPlaceholderText[] = L"Loading...";
    // The window timer that runs the slices, and how long one may take.
    static constexpr UINT_PTR kSliceTimerId = 0x51CE;
    static constexpr ULONGLONG kSliceMs = 20;

    // Reads one item's children. Slices run until a deadline (GetTickCount64
    // milliseconds; ~0 means no limit); Finish puts what was read into the
    // tree. An exception from a slice ends the reading with what was read so far.
    class CChildLoader {
    public:
        virtual ~CChildLoader() = default;
        // True once everything has been read.
        virtual bool ReadSome(ULONGLONG deadline) = 0;
        // Inserts the children. False asks for another try on the next
        // expansion when nothing was found (an empty removable drive); true
        // settles the item's button by whether it now has children.
        virtual bool Finish() = 0;
    };

    CLoadingTreeCtrl();
    ~CLoadingTreeCtrl() override;

    bool OnReflectedNotify(NMHDR* header, LRESULT& result) override;

    // The item whose children are being loaded, or null.
    HTREEITEM LoadingItem() const { return m_loadingItem; }
    // Expands the item; when it must be loaded, it loads in slices.
    void ExpandInSlices(HTREEITEM item);
    // Reads the rest of the current loading now and ends it.
    void FinishLoading();
    // Stops the current loading; its item goes back to collapsed.
    void CancelLoading();
    // The current loading, when it ends, does not scroll its children into
    // view (the user has gone elsewhere meanwhile).
    void LeaveViewAlone() { m_scrollWhenLoaded = false; }

protected:
    // The animation hooks. Begin and End run on the tree's thread; Tick runs
    // on the animation thread, after a timer tick (timerTick) or a progress
    // report, and may only draw. `row` is the placeholder's text rectangle as
    // it is now, in client coordinates; Tick is not called while the row is
    // out of sight.
    virtual void OnLoadingBegin(HTREEITEM placeholder);
    virtual void OnLoadingTick(bool timerTick, int total, int count, const RECT& row);
    virtual void OnLoadingEnd();
    // True when an item's children must be thrown away and loaded again.
    virtual bool NeedsReload(HTREEITEM item);
    // Starts reading an item's children; null when there is nothing to read.
    virtual std::unique_ptr<CChildLoader> BeginLoad(HTREEITEM item) = 0;

    // For the loader: publishes the progress and wakes the animation thread.
    void ReportProgress(int count, int total);

    // 0: no timer ticks.
    void SetTimerPeriod(UINT milliseconds) { m_timerPeriod = milliseconds; }
    void SetDrawAnimation(bool draw) { m_drawAnimation = draw; }
    bool DrawsAnimation() const { return m_drawAnimation; }
    COLORREF BackgroundColour() const;
    // Ends the loading without touching the items (the window is going).
    void AbandonLoading();

    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    bool OnItemExpanding(const NMTREEVIEWW& info);
    void OnItemExpanded(const NMTREEVIEWW& info);
    void StartLoading(HTREEITEM item);
    void RunSlice();
    bool ReadSlice(ULONGLONG deadline);
    void EndLoading();
    void StartAnimation(HTREEITEM placeholder);
    void StopAnimation();
    void PublishPlaceholderRow();
    void ClearPlaceholderIcon(HTREEITEM placeholder) const;
    void SettleButton(HTREEITEM item, bool loaded);
    void MarkLoadAgain(HTREEITEM item);
    void ScrollChildrenIntoView(HTREEITEM item) const;
    void ForgetExpandedOnce();
    unsigned AnimationLoop();
    void SetRedraw(bool redraw) const { SendMessage(WM_SETREDRAW, redraw ? TRUE : FALSE); }
    bool HasChildren(HTREEITEM item) const { return GetChild(item) != nullptr; }
    bool IsUserInput(UINT msg) const;

    HTREEITEM m_placeholder = nullptr;
    HTREEITEM m_loadingItem = nullptr;
    HTREEITEM m_loadAgainItem = nullptr;  // found empty on a non-fixed drive
    std::unique_ptr<CChildLoader> m_loader;
    bool m_inSlice = false;          // a slice or the final insertion is running
    int m_sliceRequests = 0;         // > 0: an expansion now loads in slices
    bool m_scrollWhenLoaded = true;
    UINT m_timerPeriod = 0;
    bool m_drawAnimation = false;

    // Written by the tree's thread, read by the animation thread; each write
    // is followed by setting m_progressEvent.
    std::atomic<int> m_progressCount{0};
    std::atomic<int> m_progressTotal{0};
    // The placeholder's text rectangle packed into one word (four 16-bit
    // coordinates), or kRowHidden; kept current as the tree scrolls.
    std::atomic<std::uint64_t> m_placeholderRow{0};
    std::atomic<bool> m_stop{false};
    CHandle m_timerEvent;
    CHandle m_progressEvent;
    CMultimediaTimer m_timer;
    std::unique_ptr<CWorkerThread> m_animationThread;
};
