// The conversion run in-process: states while it runs, stopping, closing,
// statuses, progress texts, the progress bar's colours, a worker that cannot
// be created, and screenshots of the window.
#include "CTestQuilletDlg.h"
#include "Screenshot.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <algorithm>
#include <map>

namespace {
std::string Crlf(size_t lines)
{
    std::string text;
    for (size_t i = 0; i < lines; ++i)
        text += "a line of text that is long enough\r\n";
    return text;
}

std::string Lf(size_t lines)
{
    std::string text;
    for (size_t i = 0; i < lines; ++i)
        text += "a line of text that is long enough\n";
    return text;
}

// Records every text the status column of the list gets, by row, and counts
// the list's paints.
class CStatusTextLog {
public:
    explicit CStatusTextLog(HWND list) : m_list(list)
    {
        ::SetWindowSubclass(list, &Proc, kId, reinterpret_cast<DWORD_PTR>(this));
    }
    ~CStatusTextLog() { ::RemoveWindowSubclass(m_list, &Proc, kId); }
    std::map<int, std::vector<std::wstring>> m_texts;
    int m_paints = 0;

private:
    static constexpr UINT_PTR kId = 0x51;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
    {
        if (msg == WM_PAINT)
            ++reinterpret_cast<CStatusTextLog*>(data)->m_paints;
        if (msg == LVM_SETITEMTEXTW) {
            auto* item = reinterpret_cast<const LVITEMW*>(lp);
            if (item->iSubItem == 2 && item->pszText)
                reinterpret_cast<CStatusTextLog*>(data)->m_texts[static_cast<int>(wp)].push_back(item->pszText);
        }
        return ::DefSubclassProc(hwnd, msg, wp, lp);
    }
    HWND m_list;
};

std::vector<std::wstring> AddFiles(CTestQuilletDlg& d, CTempFolder& temp, const std::vector<std::string>& contents)
{
    std::vector<std::wstring> names;
    for (size_t i = 0; i < contents.size(); ++i) {
        names.push_back(L"f" + std::to_wstring(i) + L".txt");
        d.AddFileToList(temp.Write(names.back(), contents[i]));
    }
    return names;
}

COLORREF PixelOf(HWND window, int x, int y)
{
    HDC dc = ::GetDC(window);
    COLORREF colour = ::GetPixel(dc, x, y);
    ::ReleaseDC(window, dc);
    return colour;
}

RECT StatusCell(CTestQuilletDlg& d, int row)
{
    RECT cell{LVIR_BOUNDS, 2, 0, 0};
    d.FileList().SendMessage(LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    return cell;
}

RECT WindowArea(HWND window)
{
    RECT area{};
    ::GetWindowRect(window, &area);
    return area;
}

// Moves and sizes the window for screenshots, within the screen Wine reports
// (a virtual desktop started earlier on the same wineserver can leave it
// smaller than the X screen). Without a window manager Wine may still apply
// the X window's earlier size after a move, so the size is asked for until
// the window has it.
void PlaceForShots(CTestQuilletDlg& d, int width, int height)
{
    width = std::min(width, ::GetSystemMetrics(SM_CXSCREEN) - 60);
    height = std::min(height, ::GetSystemMetrics(SM_CYSCREEN) - 60);
    PumpUntil([&] {
        RECT now = WindowArea(d.Handle());
        if (now.left == 60 && now.top == 60 && now.right - now.left == width && now.bottom - now.top == height)
            return true;
        d.SetPos(nullptr, 60, 60, width, height, SWP_NOZORDER);
        PumpUntil([] { return false; }, 100);
        return false;
    }, 5000);
    ::RedrawWindow(d.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpUntil([] { return false; }, 300);
}

int FormatIndex(const char* name)
{
    return std::string(name) == "lf" ? 2 : std::string(name) == "cr" ? 1 : 0;
}
}

TEST(MainWindowRun, StatesWhileRunningAndNoSortUntilTheEnd)
{
    CTestEnvironment env;
    env.settings.m_format = FormatIndex("lf");
    CTempFolder temp;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        // Row 0 is a file that is not there: it fails and the run goes on.
        d.AddFileToList(temp.Path() + L"\\missing.txt");
        auto names = AddFiles(d, temp, {Crlf(3), Crlf(40)});
        CStatusTextLog log(d.FileList().Handle());
        int checks = 0;
        d.m_onCaption = [&](const std::wstring& caption) {
            if (caption != L"2/3 - Quillet")
                return;
            ++checks;
            EXPECT_TRUE(d.IsRunning());
            EXPECT_TRUE(d.Visible(IDC_STOP));
            EXPECT_FALSE(d.Visible(IDC_CONVERT));
            EXPECT_FALSE(d.Enabled(IDC_FORMAT_COMBO));
            EXPECT_FALSE(d.Enabled(IDC_FORMAT_LABEL));
            EXPECT_EQ(::GetFocus(), d.GetDlgItem(IDC_STOP).Handle());
            d.SelectOnly({0});
            EXPECT_FALSE(d.QueryCommandState(ID_REMOVE).m_enabled);
            EXPECT_FALSE(d.QueryCommandState(ID_REMOVE_ALL).m_enabled);
            EXPECT_TRUE(d.QueryCommandState(ID_ADD_FILES).m_enabled);
            EXPECT_TRUE(d.QueryCommandState(ID_OPEN_FILE).m_enabled);
            // A header click would reorder the rows under the run's feet.
            d.ClickHeader(0);
            EXPECT_EQ(d.FileList().SortState().Direction(), 0);
            EXPECT_EQ(d.Status(0), StatusFailed);
            EXPECT_EQ(d.Status(1), StatusConverting);
        };
        ASSERT_TRUE(d.ConvertAndWait());
        d.m_onCaption = nullptr;
        EXPECT_EQ(checks, 1);
        EXPECT_EQ(d.GetText(), L"Quillet");
        EXPECT_TRUE(d.Visible(IDC_CONVERT));
        EXPECT_FALSE(d.Visible(IDC_STOP));
        EXPECT_TRUE(d.Enabled(IDC_FORMAT_COMBO));
        EXPECT_EQ(d.Cell(0, 2), L"Failed");
        EXPECT_EQ(d.Cell(1, 2), L"OK");
        EXPECT_EQ(d.Cell(2, 2), L"OK");
        EXPECT_EQ(d.FileList().GetItemState(1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(StatusOk));
        EXPECT_EQ(temp.Read(names[0]), Lf(3));
        EXPECT_EQ(temp.Read(names[1]), Lf(40));
        // Under 1 KiB: "Converting", then "0", then the result; 1.4 KiB adds "100"... never more than 100.
        EXPECT_EQ(log.m_texts[1], (std::vector<std::wstring>{L"", L"Converting", L"0", L"OK"}));
        for (const std::wstring& text : log.m_texts[2])
            EXPECT_TRUE(text == L"" || text == L"Converting" || text == L"OK" || std::stoi(text) <= 100) << text;

        // After the run the header sorts: None, OK, Failed.
        d.AddFileToList(temp.Path() + L"\\later.txt");
        d.ClickHeader(2);
        EXPECT_EQ(d.FileList().SortState().Direction(), 1);
        EXPECT_EQ(d.Status(0), StatusNone);
        EXPECT_EQ(d.Status(1), StatusOk);
        EXPECT_EQ(d.Status(2), StatusOk);
        EXPECT_EQ(d.Status(3), StatusFailed);
    });
    dlg.DoModal();
}

TEST(MainWindowRun, ProgressReachesTheWindowOnlyWhenThePercentageChanges)
{
    CTestEnvironment env;
    CTempFolder temp;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        // About 3.4 MiB: some 3,400 progress reports from the converter.
        AddFiles(d, temp, {Crlf(100000)});
        CStatusTextLog log(d.FileList().Handle());
        ASSERT_TRUE(d.ConvertAndWait());
        const auto& texts = log.m_texts[0];
        ASSERT_GE(texts.size(), 4u);
        EXPECT_LE(texts.size(), 2u + 1u + 100u + 1u) << "reset, Converting, one per percent, OK";
        int last = -1;
        for (size_t i = 2; i + 1 < texts.size(); ++i) {
            int percent = std::stoi(texts[i]);
            EXPECT_GT(percent, last);
            EXPECT_LE(percent, 100);
            last = percent;
        }
        EXPECT_EQ(texts.back(), L"OK");
    });
    dlg.DoModal();
}

// Stopped while several threads convert: every file that was started
// finishes and its row says so, later rows stay empty with their files
// untouched, so what the list shows is what happened to the files.
TEST(MainWindowRun, AStopWithSeveralThreadsShowsExactlyTheFilesConverted)
{
    CTestEnvironment env;
    env.settings.m_format = FormatIndex("lf");
    CTempFolder temp;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        constexpr int kRows = 150;
        auto names = AddFiles(d, temp, std::vector<std::string>(kRows, Crlf(4000)));
        d.m_runStepsWait = false;
        d.m_onCaption = [&](const std::wstring& caption) {
            if (caption != L"Quillet")
                d.Command(IDC_STOP);
        };
        ASSERT_TRUE(d.ConvertAndWait());
        d.m_onCaption = nullptr;
        int done = 0;
        while (done < kRows && d.Status(done) == StatusOk)
            ++done;
        EXPECT_LT(done, kRows) << "the stop came after the last file";
        for (int row = 0; row < kRows; ++row) {
            const bool converted = row < done;
            ASSERT_EQ(d.Status(row), converted ? StatusOk : StatusNone) << row;
            ASSERT_EQ(temp.Read(names[row]), converted ? Lf(4000) : Crlf(4000)) << row;
        }
    });
    dlg.DoModal();
}

bool RowInView(CTestQuilletDlg& d, int row)
{
    const int top = static_cast<int>(d.FileList().SendMessage(LVM_GETTOPINDEX));
    const int page = static_cast<int>(d.FileList().SendMessage(LVM_GETCOUNTPERPAGE));
    return row >= top && row < top + page;
}

// As the real program runs: the worker queues its changes and never waits
// for the window. Every row still gets its texts in order, and the list and
// the caption are repainted by frames, not once per file.
TEST(MainWindowRun, AWorkerThatDoesNotWaitStillShowsEveryStepInOrder)
{
    CTestEnvironment env;
    env.settings.m_format = FormatIndex("lf");
    CTempFolder temp;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        constexpr int kRows = 400;
        auto names = AddFiles(d, temp, std::vector<std::string>(kRows, Crlf(2)));
        d.AddFileToList(temp.Path() + L"\\missing.txt");
        d.m_runStepsWait = false;
        CStatusTextLog log(d.FileList().Handle());
        int captions = 0;
        d.m_onCaption = [&](const std::wstring&) { ++captions; };
        ASSERT_TRUE(d.ConvertAndWait());
        d.m_onCaption = nullptr;
        for (int row = 0; row < kRows; ++row) {
            ASSERT_EQ(log.m_texts[row], (std::vector<std::wstring>{L"", L"Converting", L"0", L"OK"})) << row;
            ASSERT_EQ(temp.Read(names[row]), Lf(2)) << row;
        }
        EXPECT_EQ(log.m_texts[kRows], (std::vector<std::wstring>{L"", L"Converting", L"Failed"}));
        EXPECT_EQ(d.GetText(), L"Quillet");
        EXPECT_LT(captions, kRows / 2);
        EXPECT_LT(log.m_paints, kRows / 2);
        EXPECT_TRUE(RowInView(d, kRows));
    });
    dlg.DoModal();
}


// Rows of small files start faster than the list scrolls, yet a row that
// keeps converting is brought into view, and the run ends with its last row
// in view.
TEST(MainWindowRun, TheConvertingRowComesIntoViewAndTheLastRowEndsInView)
{
    CTestEnvironment env;
    CTempFolder temp;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        AddFiles(d, temp, std::vector<std::string>(60, Crlf(2)));
        d.FileList().EnsureVisible(0);
        bool slowRowShown = false;
        d.m_onCaption = [&](const std::wstring& caption) {
            // Row 40 "takes long": the worker waits here while the window serves its queue.
            if (caption == L"41/60 - Quillet")
                slowRowShown = PumpUntil([&] { return RowInView(d, 40); }, 2000);
        };
        ASSERT_TRUE(d.ConvertAndWait());
        d.m_onCaption = nullptr;
        EXPECT_TRUE(slowRowShown);
        EXPECT_TRUE(RowInView(d, 59));
        for (int row = 0; row < 60; ++row)
            EXPECT_EQ(d.Status(row), StatusOk) << row;
    });
    dlg.DoModal();
}

TEST(MainWindowRun, StopDuringTheLastFileNeverClosesAndASecondRunResets)
{
    CTestEnvironment env;
    env.settings.m_autoClose = 1;
    CTempFolder temp;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        AddFiles(d, temp, {Crlf(2), Crlf(2), Crlf(2)});
        d.m_onCaption = [&](const std::wstring& caption) {
            if (caption == L"3/3 - Quillet")
                d.Command(IDC_STOP);
        };
        ASSERT_TRUE(d.ConvertAndWait());
        PumpUntil([] { return false; }, 300);
        EXPECT_FALSE(d.IsEnding()) << "a stopped run never closes the window";
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(d.Status(row), StatusOk) << row;

        // The next run starts from empty statuses.
        std::vector<int> seen;
        d.m_onCaption = [&](const std::wstring& caption) {
            if (caption == L"1/3 - Quillet")
                seen = {d.Status(0), d.Status(1), d.Status(2)};
            if (caption == L"2/3 - Quillet")
                d.Command(IDC_STOP);
        };
        ASSERT_TRUE(d.ConvertAndWait());
        EXPECT_EQ(seen, (std::vector<int>{StatusConverting, StatusNone, StatusNone}));
        EXPECT_EQ(d.Status(1), StatusOk);
        EXPECT_EQ(d.Status(2), StatusNone) << "not reached after the stop";
        EXPECT_EQ(d.Cell(2, 2), L"");
        EXPECT_FALSE(d.IsEnding());
    });
    dlg.DoModal();
}

TEST(MainWindowRun, CloseDuringARunFinishesTheFileAndCloses)
{
    for (UINT close : {UINT(IDOK), UINT(IDCANCEL)}) {
        CTestEnvironment env;
        CTempFolder temp;
        std::vector<int> statuses;
        CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
            auto names = AddFiles(d, temp, {Crlf(2), Crlf(2), Crlf(2)});
            d.m_onCaption = [&](const std::wstring& caption) {
                if (caption == L"1/3 - Quillet")
                    d.Command(close);
            };
            d.Command(IDC_CONVERT);
            EXPECT_TRUE(PumpUntil([&] { return d.IsEnding(); }));
            EXPECT_FALSE(d.IsRunning());
            statuses = {d.Status(0), d.Status(1), d.Status(2)};
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(statuses, (std::vector<int>{StatusOk, StatusNone, StatusNone})) << close;
    }
}

TEST(MainWindowRun, DestroyedDuringARunWaitsForTheWorkerWhileServingIt)
{
    CTestEnvironment env;
    env.settings.m_format = FormatIndex("lf");
    CTempFolder temp;
    std::vector<std::wstring> names;
    bool ended = false;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        names = AddFiles(d, temp, {Crlf(3), Crlf(3), Crlf(3)});
        const HWND window = d.Handle();
        // The destruction arrives while the worker still has rows to go and
        // messages to send; the join must serve them or both threads wait forever.
        d.m_onCaption = [window](const std::wstring& caption) {
            if (caption == L"1/3 - Quillet")
                ::PostMessageW(window, CTestQuilletDlg::kDestroyNow, 0, 0);
        };
        d.Command(IDC_CONVERT);
        ended = PumpUntil([&] { return !::IsWindow(window); }, 20000);
        EXPECT_FALSE(d.IsRunning());
    });
    dlg.DoModal();
    EXPECT_TRUE(ended);
    EXPECT_EQ(temp.Read(names[0]), Lf(3)) << "the file being converted is finished";
    EXPECT_EQ(temp.Read(names[2]), Crlf(3)) << "later rows are left alone";
}

TEST(MainWindowRun, AutoCloseAfterACompleteRunAndAnEmptyList)
{
    CTestEnvironment env;
    env.settings.m_autoClose = 1;
    CTestQuilletDlg empty(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        d.Command(IDC_CONVERT);
        EXPECT_TRUE(PumpUntil([&] { return d.IsEnding(); }, 10000));
        EXPECT_EQ(d.GetText(), L"Quillet");
    });
    EXPECT_EQ(empty.DoModal(), IDCANCEL);
}

TEST(MainWindowRun, CommandLineFilesWithAutoStartRunAndClose)
{
    CTestEnvironment env;
    CTempFolder temp;
    const std::wstring a = temp.Write(L"a.txt", Crlf(5));
    const std::wstring b = temp.Write(L"b.txt", Crlf(7));
    CGuiCommandLine commandLine;
    commandLine.ParseCommandLine({L"-format", L"lf", L"-as", L"-ac", a, b});
    bool boxChecked = false, boxEnabled = true;
    CTestQuilletDlg dlg(env.settings, env.ui, &commandLine, [&](CTestQuilletDlg& d) {
        boxChecked = ::SendMessageW(d.GetDlgItem(IDC_AUTO_CLOSE), BM_GETCHECK, 0, 0) == BST_CHECKED;
        boxEnabled = d.Enabled(IDC_AUTO_CLOSE);
        EXPECT_TRUE(PumpUntil([&] { return d.IsEnding(); }));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(boxChecked);
    EXPECT_FALSE(boxEnabled);
    EXPECT_EQ(temp.Read(L"a.txt"), Lf(5));
    EXPECT_EQ(temp.Read(L"b.txt"), Lf(7));
}

TEST(MainWindowRun, AWorkerThatCannotStartLeavesTheWindowIdle)
{
    CTestEnvironment env;
    CTempFolder temp;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        AddFiles(d, temp, {Crlf(2), Crlf(2)});
        ASSERT_TRUE(d.ConvertAndWait());
        d.SetItemStatus(1, StatusFailed);
        d.m_failWorker = true;
        d.Command(IDC_CONVERT);
        EXPECT_FALSE(d.IsRunning());
        EXPECT_TRUE(d.Visible(IDC_CONVERT));
        EXPECT_FALSE(d.Visible(IDC_STOP));
        EXPECT_TRUE(d.Enabled(IDC_FORMAT_COMBO));
        EXPECT_TRUE(d.QueryCommandState(ID_REMOVE_ALL).m_enabled);
        EXPECT_EQ(d.Status(0), StatusOk);
        EXPECT_EQ(d.Status(1), StatusFailed);
        EXPECT_EQ(d.GetText(), L"Quillet");
        d.m_failWorker = false;
        ASSERT_TRUE(d.ConvertAndWait()) << "the next Convert works";
        EXPECT_EQ(d.Status(1), StatusOk);
    });
    dlg.DoModal();
}

TEST(MainWindowRun, ProgressCellColoursAndScreenshots)
{
    CTestEnvironment env;
    CTempFolder temp;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        PlaceForShots(d, 900, 460);
        EXPECT_TRUE(SaveScreenshot(WindowArea(d.Handle()), "main_window_empty.png"));

        AddFiles(d, temp, {Crlf(2), Crlf(3), Crlf(4), Crlf(5)});
        d.AddFileToList(temp.Path() + L"\\missing.txt");
        // Whatever the window's size, the status column stays in view.
        d.FileList().SetColumnWidth(1, 180);
        int shots = 0;
        d.m_onCaption = [&](const std::wstring& caption) {
            if (caption != L"3/5 - Quillet")
                return;
            // Row 2 converts; as its sink would, it reaches 60 percent.
            d.FileList().SetItemText(2, 2, L"60");
            d.SelectOnly({2});
            RECT cell = StatusCell(d, 2);
            d.FileList().SetFocus();
            d.PaintListWhileRunning();
            EXPECT_EQ(PixelOf(d.FileList().Handle(), cell.left + 1, cell.top + 1), ::GetSysColor(COLOR_HIGHLIGHT));
            EXPECT_EQ(PixelOf(d.FileList().Handle(), cell.left + 6, (cell.top + cell.bottom) / 2), RGB(32, 128, 255));
            const int inner = (cell.right - 5) - (cell.left + 5);
            EXPECT_EQ(PixelOf(d.FileList().Handle(), cell.left + 5 + inner * 60 / 100 + 2, (cell.top + cell.bottom) / 2),
                      ::GetSysColor(COLOR_HIGHLIGHT))
                << "past the bar the cell shows its background";
            // Wine puts a window's drawing on the screen when its thread looks at
            // its queue; the worker waits in SendMessage meanwhile.
            PumpUntil([] { return false; }, 150);
            shots += SaveScreenshot(WindowArea(d.Handle()), "main_window_run_in_progress.png");

            d.GetDlgItem(IDC_STOP).SetFocus();
            d.PaintListWhileRunning();
            EXPECT_EQ(PixelOf(d.FileList().Handle(), cell.left + 1, cell.top + 1), ::GetSysColor(COLOR_BTNFACE));
            d.Command(IDC_STOP);
        };
        ASSERT_TRUE(d.ConvertAndWait());
        d.m_onCaption = nullptr;
        EXPECT_EQ(shots, 1);
        d.SetItemStatus(3, StatusFailed);
        d.SelectOnly({});
        PumpUntil([] { return false; }, 200);
        EXPECT_TRUE(SaveScreenshot(WindowArea(d.Handle()), "main_window_mixed_statuses.png"));
    });
    dlg.DoModal();
}

namespace {
// Saves a shot while the popup of a menu-toolbar button is open, then closes it.
CTestQuilletDlg* g_shotWindow = nullptr;
const char* g_shotName = nullptr;
bool g_shotTaken = false;

void CALLBACK ShootOpenMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    if (menu && ::IsWindowVisible(menu)) {
        RECT area = WindowArea(g_shotWindow->Handle());
        RECT popup = WindowArea(menu);
        ::UnionRect(&area, &area, &popup);
        g_shotTaken = SaveScreenshot(area, g_shotName);
    }
    ::EndMenu();
}
}

TEST(MainWindowRun, ToolbarDropDownsOpenBelowTheirButtons)
{
    CTestEnvironment env;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        PlaceForShots(d, 720, 460);
        for (auto [button, name] : {std::pair{ID_OPTIONS_MENU, "main_window_options_menu.png"},
                                    std::pair{ID_HELP_MENU, "main_window_help_menu.png"}}) {
            NMTOOLBARW info{};
            info.hdr.hwndFrom = d.MenuToolBar().Handle();
            info.hdr.idFrom = IDC_MENU_TOOLBAR;
            info.hdr.code = TBN_DROPDOWN;
            info.iItem = button;
            d.MenuToolBar().GetRect(button, info.rcButton);
            g_shotWindow = &d;
            g_shotName = name;
            g_shotTaken = false;
            ::SetTimer(nullptr, 0, 500, ShootOpenMenu);
            d.SendMessage(WM_NOTIFY, IDC_MENU_TOOLBAR, reinterpret_cast<LPARAM>(&info));
            EXPECT_TRUE(g_shotTaken) << name;
        }
    });
    dlg.DoModal();
}
