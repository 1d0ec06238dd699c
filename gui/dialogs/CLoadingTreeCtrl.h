#pragma once
// Classes: CLoadingTreeCtrl, a tree that loads an item's children when the
// item is first expanded. While it loads, a "Loading..." row stands under the
// item, the tree's redrawing is off (erase requests are answered from a
// snapshot of the client area), and an animation thread, woken by a periodic
// timer and by progress reports, lets a derived class draw on the tree.
// Derived classes provide LoadChildren and may draw in the OnLoading* hooks.
// The tree's notifications reach it by reflection from its parent window.
#include "CMultimediaTimer.h"
#include "CTreeView.h"
#include "CUniqueHandle.h"
#include "CWorkerThread.h"

#include <atomic>
#include <memory>

class CLoadingTreeCtrl : public CTreeView {
public:
    static constexpr wchar_t kPlaceholderText[] = L"Loading...";

    CLoadingTreeCtrl();
    ~CLoadingTreeCtrl() override;

    bool OnReflectedNotify(NMHDR* header, LRESULT& result) override;

    // The item whose children are being loaded, or null.
    HTREEITEM LoadingItem() const { return m_loadingItem; }

protected:
    // The animation hooks. Begin and End run on the tree's thread; Tick runs
    // on the animation thread, after a timer tick (timerTick) or a progress
    // report, and may only draw.
    virtual void OnLoadingBegin(HTREEITEM placeholder);
    virtual void OnLoadingTick(bool timerTick, int total, int count);
    virtual void OnLoadingEnd();
    // True when an item's children must be thrown away and loaded again.
    virtual bool NeedsReload(HTREEITEM item);
    // Fills the item with its children. False asks for another try on the
    // next expansion when nothing was found (for example an empty removable
    // drive); true settles the item's button by whether it now has children.
    virtual bool LoadChildren(HTREEITEM item) = 0;

    // For LoadChildren: publishes the progress and wakes the animation thread.
    void ReportProgress(int count, int total);

    // 0: no timer ticks.
    void SetTimerPeriod(UINT milliseconds) { m_timerPeriod = milliseconds; }
    void SetDrawAnimation(bool draw) { m_drawAnimation = draw; }
    bool DrawsAnimation() const { return m_drawAnimation; }
    COLORREF BackgroundColour() const;

    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    bool OnItemExpanding(const NMTREEVIEWW& info);
    void OnItemExpanded(const NMTREEVIEWW& info);
    void LoadExpandedItem(HTREEITEM item);
    void StartAnimation(HTREEITEM placeholder);
    void StopAnimation();
    void ClearPlaceholderIcon(HTREEITEM placeholder) const;
    void TakeSnapshot();
    void SettleButton(HTREEITEM item, bool loaded);
    void ScrollChildrenIntoView(HTREEITEM item) const;
    void ForgetExpandedOnce();
    unsigned AnimationLoop();
    void SetRedraw(bool redraw) const { SendMessage(WM_SETREDRAW, redraw ? TRUE : FALSE); }
    bool HasChildren(HTREEITEM item) const { return GetChild(item) != nullptr; }

    HTREEITEM m_placeholder = nullptr;
    HTREEITEM m_loadingItem = nullptr;
    HTREEITEM m_loadAgainItem = nullptr;  // found empty on a non-fixed drive
    UINT m_timerPeriod = 0;
    bool m_drawAnimation = false;

    // Written by the tree's thread, read by the animation thread; each write
    // is followed by setting m_progressEvent.
    std::atomic<int> m_progressCount{0};
    std::atomic<int> m_progressTotal{0};
    std::atomic<bool> m_stop{false};
    CHandle m_timerEvent;
    CHandle m_progressEvent;
    CMultimediaTimer m_timer;
    std::unique_ptr<CWorkerThread> m_animationThread;

    CBitmap m_snapshot;
    SIZE m_snapshotSize{};
    bool m_snapshotValid = false;
};
