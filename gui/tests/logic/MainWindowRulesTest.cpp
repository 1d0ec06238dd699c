#include "FileListRules.h"
#include "MainLayout.h"
#include "RunProgress.h"
#include "ScrollThrottle.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

TEST(FileListRules, SortByStatusNameAndFolder)
{
    std::vector<CFileItem> rows = {{L"C:\\b\\Zeta.txt", 0, StatusFailed},
                                   {L"C:\\a\\alpha.txt", 0, StatusOk},
                                   {L"D:\\B\\beta.txt", 0, StatusNone},
                                   {L"c:\\A\\Gamma.txt", 0, StatusConverting}};
    auto order = [&](int column, int direction) {
        std::vector<CFileItem> sorted = rows;
        std::stable_sort(sorted.begin(), sorted.end(), [&](const CFileItem& a, const CFileItem& b) {
            return CompareFileItems(a, b, column, direction) < 0;
        });
        std::wstring names;
        for (const CFileItem& item : sorted)
            names += item.path.substr(item.path.rfind(L'\\') + 1, 1);
        return names;
    };
    EXPECT_EQ(order(2, 1), L"bGaZ") << "None, Converting, OK, Failed";
    EXPECT_EQ(order(2, -1), L"ZaGb");
    EXPECT_EQ(order(0, 1), L"abGZ") << "A-Z folded";
    EXPECT_EQ(order(1, 1), L"aGZb") << "C:\\a = c:\\A < C:\\b < D:\\B";
    EXPECT_EQ(order(2, 0), L"ZabG") << "unsorted keeps the order";
    EXPECT_EQ(CompareFileItems(rows[0], rows[1], 7, 1), 0);
}

TEST(FileListRules, FolderPartAndCaptions)
{
    EXPECT_EQ(FolderOfPath(L"C:\\work\\a.txt"), L"C:\\work");
    EXPECT_EQ(FolderOfPath(L"C:\\a.txt"), L"C:\\");
    EXPECT_EQ(FolderOfPath(L"\\\\server\\share\\a.txt"), L"\\\\server\\share");
    EXPECT_EQ(FolderOfPath(L"a.txt"), L"");

    EXPECT_EQ(FileColumnCaption(0), L"File (0)");
    EXPECT_EQ(FileColumnCaption(2), L"File (2)");
    EXPECT_EQ(RunTitle(2, 10), L"3/10 - Quillet");
    EXPECT_EQ(RunTitle(-1, -1), L"Quillet");
}

TEST(FileListRules, CommandStatesFollowTheRunAndTheSelection)
{
    bool enabled = false;
    FileListState idle{false, 3, 1};
    FileListState running{true, 3, 1};
    FileListState empty{false, 0, 0};
    for (unsigned id : {ID_REMOVE, ID_REMOVE_ALL}) {
        ASSERT_TRUE(DecideFileListCommand(id, idle, enabled));
        EXPECT_TRUE(enabled);
        DecideFileListCommand(id, running, enabled);
        EXPECT_FALSE(enabled) << "rows are addressed by index during a run";
        DecideFileListCommand(id, empty, enabled);
        EXPECT_FALSE(enabled);
    }
    DecideFileListCommand(ID_REMOVE, FileListState{false, 3, 0}, enabled);
    EXPECT_FALSE(enabled);
    for (unsigned id : {ID_OPEN_FILE, ID_OPEN_FOLDER}) {
        DecideFileListCommand(id, running, enabled);
        EXPECT_TRUE(enabled);
        DecideFileListCommand(id, FileListState{false, 3, 0}, enabled);
        EXPECT_FALSE(enabled);
    }
    DecideFileListCommand(ID_ADD_FILES, running, enabled);
    EXPECT_TRUE(enabled);
    EXPECT_FALSE(DecideFileListCommand(ID_SETTINGS, idle, enabled));
}

TEST(FileListRules, OpenRequests)
{
    ShellRequest viewer = OpenFileRequest(L"C:\\a b\\x.txt", L"C:\\tools\\view.exe", true);
    EXPECT_EQ(viewer.verb, L"");
    EXPECT_EQ(viewer.file, L"C:\\tools\\view.exe");
    EXPECT_EQ(viewer.parameters, L"\"C:\\a b\\x.txt\"");

    ShellRequest missing = OpenFileRequest(L"C:\\x.txt", L"C:\\gone.exe", false);
    EXPECT_EQ(missing.verb, L"open");
    EXPECT_EQ(missing.file, L"C:\\x.txt");
    EXPECT_EQ(missing.parameters, L"");

    ShellRequest folder = OpenFolderRequest(L"C:\\a,b\\x.txt");
    EXPECT_EQ(folder.file, L"explorer.exe");
    EXPECT_EQ(folder.parameters, L"/select,\"C:\\a,b\\x.txt\"");
}

TEST(RunProgress, FramesSlowDownOnlyWhenPaintingIsDear)
{
    EXPECT_EQ(NextRunFrameDelayMs(1.5), kRunFrameMs);
    EXPECT_EQ(NextRunFrameDelayMs(12.5), kRunFrameMs);
    EXPECT_EQ(NextRunFrameDelayMs(35), 140u);
    EXPECT_EQ(NextRunFrameDelayMs(400), kSlowestRunFrameMs);
    EXPECT_EQ(NextRunFrameDelayMs(-1), kRunFrameMs) << "a clock that went back";
}

TEST(RunProgress, PercentStaysInRange)
{
    EXPECT_EQ(ProgressPercent(1, 3), 33);
    EXPECT_EQ(ProgressPercent(0, 3), 0);
    EXPECT_EQ(ProgressPercent(5, 0), 100) << "a file that grew after its size was taken";
    EXPECT_EQ(ProgressPercent(9, 3), 100);
    EXPECT_EQ(ProgressPercent(LLONG_MAX, INT_MAX), 100);
    EXPECT_EQ(ProgressPercent(INT_MAX - 1, INT_MAX), 99);

    EXPECT_EQ(ParsePercent(L"Converting"), 0);
    EXPECT_EQ(ParsePercent(L"42"), 42);
    EXPECT_EQ(ParsePercent(L"7%"), 7);
    EXPECT_EQ(ParsePercent(L"99999999999999"), 100);

    EXPECT_EQ(ProgressBarRight(10, 110, 0), 10);
    EXPECT_EQ(ProgressBarRight(10, 110, 50), 60);
    EXPECT_EQ(ProgressBarRight(10, 13, 50), 11);
    EXPECT_EQ(ProgressBarRight(10, 5, 50), 10);
}

TEST(RunProgress, OnlyChangedPercentagesPassAtMostOncePerFrame)
{
    CProgressFilter filter;
    // 1 GiB in KiB, reported over 10 s: every percent gets its frame.
    const long long size = 1024 * 1024;
    filter.Begin(static_cast<int>(size), 0);
    int shown = 0, changes = 0, percent = -1;
    for (long long done = 1; done <= size; ++done) {
        if (filter.Advance(done, done * 10000 / size, percent)) {
            ++changes;
            EXPECT_GT(percent, shown);
            shown = percent;
        }
    }
    EXPECT_EQ(changes, 100);
    EXPECT_EQ(shown, 100);

    // A small file converted within one frame shows nothing after its "0".
    filter.Begin(20, 1000);
    for (long long done = 1; done <= 20; ++done)
        EXPECT_FALSE(filter.Advance(done, 1000 + done / 4, percent)) << done;
    EXPECT_TRUE(filter.Advance(20, 1000 + CProgressFilter::kFrameMs, percent));
    EXPECT_EQ(percent, 100);

    filter.Begin(0, 0);
    EXPECT_TRUE(filter.Advance(1, 100, percent));
    EXPECT_EQ(percent, 100) << "a file that grew after its size was taken";
    EXPECT_FALSE(filter.Advance(2, 200, percent));
}

TEST(MainLayout, GapsFollowTheClientRectangle)
{
    MainLayout current;
    current.close = {0, 0, 75, 23};
    current.convert = {0, 0, 75, 23};
    current.onTop = {11, 0, 152, 16};
    current.autoClose = {11, 0, 256, 16};
    current.format = {11, 0, 600, 22};
    current.label = {11, 0, 104, 13};
    current.list = {11, 50, 600, 300};
    for (LayoutRect cr : {LayoutRect{0, 0, 464, 282}, LayoutRect{0, 0, 1200, 900}}) {
        MainLayout l = ComputeMainLayout(cr, {90, 22}, {330, 26}, current);
        EXPECT_EQ(l.menuBar, (LayoutRect{cr.right - 100, 9, cr.right - 10, 31}));
        EXPECT_EQ(l.fileBar, (LayoutRect{11, 7, 341, 33}));
        EXPECT_EQ(l.close, (LayoutRect{cr.right - 85, cr.bottom - 33, cr.right - 10, cr.bottom - 10}));
        EXPECT_EQ(l.convert.right, l.close.left - 6);
        EXPECT_EQ(l.convert.Width(), 75);
        EXPECT_EQ(l.convert.top, l.close.top);
        EXPECT_EQ(l.onTop.bottom, cr.bottom - 8);
        EXPECT_EQ(l.onTop.Width(), 141);
        EXPECT_EQ(l.autoClose.bottom, l.onTop.top - 4);
        EXPECT_EQ(l.format, (LayoutRect{11, cr.bottom - 78, cr.right - 10, cr.bottom - 56}));
        EXPECT_EQ(l.label.bottom, l.format.top - 2);
        EXPECT_EQ(l.list, (LayoutRect{11, 40, cr.right - 10, l.label.top - 6}));
    }
}

TEST(MainLayout, GapsGrowWithTheDpi)
{
    MainLayout current;
    current.close = {0, 0, 113, 35};
    current.onTop = {17, 0, 230, 24};
    current.autoClose = {17, 0, 390, 24};
    current.format = {17, 0, 900, 33};
    current.label = {17, 0, 160, 20};
    current.list = {17, 60, 900, 400};
    const LayoutRect cr{0, 0, 1000, 600};
    MainLayout l = ComputeMainLayout(cr, {120, 33}, {500, 39}, current, 144);
    EXPECT_EQ(l.close.right, cr.right - 15);
    EXPECT_EQ(l.convert.right, l.close.left - 9);
    EXPECT_EQ(l.onTop.bottom, cr.bottom - 12);
    EXPECT_EQ(l.format.bottom, cr.bottom - 84);
    EXPECT_LT(l.format.bottom, l.autoClose.top) << "the check boxes stay clear of the format box";
    EXPECT_EQ(l.list.top, 60);
    EXPECT_EQ(l.fileBar.left, 17);
    EXPECT_EQ(ScaleForDpi(480, 96), 480);
    EXPECT_EQ(ScaleForDpi(320, 144), 480);
    EXPECT_EQ(ScaleForDpi(10, 120), 13);
}

// Rows of a fast run start far more often than the list may scroll: the first
// scrolls at once, later ones wait for the interval and the row current then
// is the one scrolled to; a row that starts after a quiet spell scrolls at once.
TEST(ScrollThrottle, ScrollsAtOnceThenAtMostOncePerIntervalToTheLatestRow)
{
    const unsigned long long interval = CScrollThrottle::kIntervalMs;
    CScrollThrottle throttle;
    int wait = -1;
    EXPECT_EQ(throttle.RowStarted(0, 1000, wait), CScrollThrottle::kScrollNow);
    EXPECT_EQ(throttle.RowStarted(1, 1010, wait), CScrollThrottle::kScrollLater);
    EXPECT_EQ(wait, static_cast<int>(interval - 10));
    EXPECT_EQ(throttle.RowStarted(2, 1020, wait), CScrollThrottle::kAlreadyDue);
    EXPECT_EQ(throttle.RowStarted(3, 1030, wait), CScrollThrottle::kAlreadyDue);
    EXPECT_EQ(throttle.Due(1000 + interval), 3) << "the row current when the wait ends";
    EXPECT_EQ(throttle.Due(1000 + interval + 1), -1) << "nothing left to scroll to";
    EXPECT_EQ(throttle.RowStarted(4, 1000 + interval + 5, wait), CScrollThrottle::kScrollLater);
    EXPECT_EQ(throttle.Due(1000 + 2 * interval), 4);
    EXPECT_EQ(throttle.RowStarted(5, 1000 + 4 * interval, wait), CScrollThrottle::kScrollNow);

    // A new run scrolls to its first row at once, whatever the last one did.
    EXPECT_EQ(throttle.RowStarted(6, 1000 + 4 * interval + 1, wait), CScrollThrottle::kScrollLater);
    throttle.Reset();
    EXPECT_EQ(throttle.RowStarted(0, 1000 + 4 * interval + 2, wait), CScrollThrottle::kScrollNow);
    EXPECT_EQ(throttle.Due(1000 + 5 * interval), -1) << "the wait of the old run is dropped";
}
