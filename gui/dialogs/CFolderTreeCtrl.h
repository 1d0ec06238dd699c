#pragma once
// Classes: CFolderTreeCtrl, the folder tree of the Select Folder dialog: a
// shell tree that, while a folder loads, draws a small progress bar beside
// the "Loading..." row and an animated hourglass (cursor 131, ten frames) in
// the row's icon place, and that offers the Explorer context menu of the
// selected item on a right click or the context-menu key.
#include "CShellContextMenu.h"
#include "CShellTreeCtrl.h"
#include "CUniqueHandle.h"

#include <atomic>

class CFolderTreeCtrl : public CShellTreeCtrl {
public:
    static constexpr UINT kAnimationPeriodMs = 125;
    static constexpr UINT kHourglassCursorId = 131;
    static constexpr int kHourglassFrames = 10;
    // The progress bar: outer frame width, its greatest height, and the fill
    // inset inside the frame.
    static constexpr int kBarWidth = 54;
    static constexpr int kBarMaxHeight = 14;
    static constexpr int kBarInset = 2;
    static constexpr COLORREF kBarFillColour = RGB(0, 128, 255);

    CFolderTreeCtrl();

    // Test hooks: what the animation drew last.
    int HourglassFrame() const { return m_frame; }
    RECT ProgressFrame() const { return m_barFrame; }
    RECT HourglassRect() const { return m_hourglassRect; }
    int LastFillWidth() const { return m_lastFillWidth; }
    bool HasHourglass() const { return static_cast<bool>(m_hourglass); }
    int ContextMenusShown() const { return m_menusShown; }
    bool IsContextMenuUp() const { return m_contextMenu.IsTracking(); }

    bool OnReflectedNotify(NMHDR* header, LRESULT& result) override;

protected:
    void OnLoadingBegin(HTREEITEM placeholder) override;
    void OnLoadingTick(bool timerTick, int total, int count, const RECT& row) override;
    void OnLoadingEnd() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

    // Shows the selected item's context menu; false when there is none.
    bool ShowContextMenu(POINT screenPoint);
    // Runs the menu until it closes; a test replaces this to leave it closed.
    virtual bool TrackContextMenu(HMENU menu, POINT screenPoint);

private:
    void PlaceAnimation(const RECT& row);
    // Where the menu opens when the keyboard asked for it: under the selected item.
    POINT KeyboardMenuPoint() const;
    void DrawProgress(HDC dc, int total, int count);
    void DrawHourglass(HDC dc);

    CCursor m_hourglass;
    CShellContextMenu m_contextMenu;
    int m_menusShown = 0;
    int m_rightButtonDepth = 0;  // > 0 while the tree handles a right-button press or release

    // Animation state: the brushes are made by OnLoadingBegin before the
    // animation thread starts and released by OnLoadingEnd after it ended;
    // the rectangles are placed by that thread at each tick, from the row.
    RECT m_barFrame{};
    RECT m_barFill{};
    RECT m_hourglassRect{};
    CBrush m_frameBrush;
    CBrush m_fillBrush;
    CBrush m_backgroundBrush;
    // Atomic only so that tests may read them while the thread draws.
    std::atomic<int> m_frame{0};
    std::atomic<int> m_lastFillWidth{0};
};
