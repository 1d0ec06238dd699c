// The main window's list in-process: captions, removal, commands and their
// states, the command line, drops, folder scans and the layout.
#include "CTestQuilletDlg.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

namespace {
// An HDROP as Explorer hands it over: DROPFILES, then the wide paths, each
// ended by a null, and one more null.
HGLOBAL MakeDrop(const std::vector<std::wstring>& paths)
{
    size_t chars = 1;
    for (const std::wstring& path : paths)
        chars += path.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& path : paths) {
        path.copy(text, path.size());
        text += path.size() + 1;
    }
    ::GlobalUnlock(memory);
    return memory;
}

void SetCtrlKey(bool down)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

// What a folder dialog showed when it opened, before the timer closed it.
struct CSeenDialog {
    std::wstring title, prompt, filter;
    bool scanChecked = false;
    UINT closeWith = IDOK;
};
CSeenDialog g_seen;

void CALLBACK AnswerFolderDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND w, LPARAM p) -> BOOL {
        wchar_t title[64] = {};
        ::GetWindowTextW(w, title, 64);
        if (::IsWindowVisible(w) && ::GetDlgItem(w, 1038) && ::GetDlgItem(w, IDOK)) {
            *reinterpret_cast<HWND*>(p) = w;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    ::KillTimer(nullptr, id);
    wchar_t text[256] = {};
    ::GetWindowTextW(dialog, text, 256);
    g_seen.title = text;
    text[0] = 0;
    ::GetDlgItemTextW(dialog, 1005, text, 256);
    g_seen.prompt = text;
    HWND combo = ::GetDlgItem(dialog, 1023);
    HWND edit = reinterpret_cast<HWND>(::SendMessageW(combo, CBEM_GETEDITCONTROL, 0, 0));
    text[0] = 0;
    ::GetWindowTextW(edit ? edit : combo, text, 256);
    g_seen.filter = text;
    g_seen.scanChecked = ::IsDlgButtonChecked(dialog, 1038) == BST_CHECKED;
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(g_seen.closeWith, BN_CLICKED), 0);
}

bool Enabled(CTestQuilletDlg& d, UINT id)
{
    CCommandState state = d.QueryCommandState(id);
    return state.m_enabled;
}
}

TEST(MainWindow, CaptionsRemovalAndTheDoubleClick)
{
    CTestEnvironment env;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&env](CTestQuilletDlg& d) {
        EXPECT_EQ(d.ColumnCaption(0), L"File");
        EXPECT_EQ(d.ColumnCaption(1), L"Folder");
        EXPECT_EQ(d.ColumnCaption(2), L"Status");
        EXPECT_FALSE(Enabled(d, ID_REMOVE_ALL));
        EXPECT_TRUE(Enabled(d, ID_ADD_FILES));

        // A double click on empty space with nothing selected asks for files.
        d.m_filesToChoose = {L"C:\\work\\a.txt", L"C:\\work\\a.txt", L"C:\\other\\B.TXT", L"D:\\x\\c.txt"};
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = d.FileList().Handle();
        click.hdr.idFrom = IDC_FILE_LIST;
        click.hdr.code = NM_DBLCLK;
        click.iItem = -1;
        d.SendMessage(WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&click));
        EXPECT_EQ(d.m_fileDialogs, 1);
        ASSERT_EQ(d.Rows(), 4);
        EXPECT_EQ(d.ColumnCaption(0), L"File (4)") << "the same file twice is two rows";
        EXPECT_EQ(d.Cell(2, 0), L"B.TXT");
        EXPECT_EQ(d.Cell(2, 1), L"C:\\other");
        EXPECT_EQ(d.Cell(2, 2), L"");
        EXPECT_EQ(env.settings.m_lastFolder, L"D:\\x");
        EXPECT_FALSE(Enabled(d, ID_REMOVE)) << "nothing selected";
        EXPECT_FALSE(Enabled(d, ID_OPEN_FILE));

        // Ctrl+O and Open Folder without a selection do nothing.
        d.Command(ID_OPEN_FILE);
        d.Command(ID_OPEN_FOLDER);
        EXPECT_TRUE(d.m_launched.empty());

        // With a selection the double click opens the file: the viewer when it exists.
        d.SelectOnly({2});
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        env.settings.m_fileViewer = self;
        d.SendMessage(WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&click));
        d.Command(ID_OPEN_FOLDER);
        env.settings.m_fileViewer = L"C:\\no such viewer.exe";
        d.Command(ID_OPEN_FILE);
        ASSERT_EQ(d.m_launched.size(), 3u);
        EXPECT_EQ(d.m_launched[0].file, self);
        EXPECT_EQ(d.m_launched[0].parameters, L"\"C:\\other\\B.TXT\"");
        EXPECT_EQ(d.m_launched[1].file, L"explorer.exe");
        EXPECT_EQ(d.m_launched[1].parameters, L"/select,\"C:\\other\\B.TXT\"");
        EXPECT_EQ(d.m_launched[2].verb, L"open");
        EXPECT_EQ(d.m_launched[2].file, L"C:\\other\\B.TXT");
        EXPECT_EQ(d.m_launched[2].owner, d.Handle());
        EXPECT_EQ(d.m_launched[2].show, SW_SHOW);
        EXPECT_EQ(d.m_launched[1].show, SW_SHOWNORMAL);
        EXPECT_EQ(d.m_fileDialogs, 1);

        // Remove with three rows selected leaves the one that was not.
        d.SelectOnly({0, 1, 3});
        EXPECT_TRUE(Enabled(d, ID_REMOVE));
        d.Command(ID_REMOVE);
        ASSERT_EQ(d.Rows(), 1);
        EXPECT_EQ(d.Path(0), L"C:\\other\\B.TXT");
        EXPECT_EQ(d.ColumnCaption(0), L"File (1)");

        d.Command(ID_REMOVE_ALL);
        EXPECT_EQ(d.Rows(), 0);
        EXPECT_EQ(d.ColumnCaption(0), L"File (0)");
    });
    dlg.DoModal();
}

TEST(MainWindow, OptionsToggleAndShowTheirState)
{
    CTestEnvironment env;
    env.settings.m_keepTimestamps = 0;
    env.settings.m_backupOriginal = 1;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&env](CTestQuilletDlg& d) {
        EXPECT_FALSE(d.QueryCommandState(ID_KEEP_TIMESTAMPS).m_checked);
        EXPECT_TRUE(d.QueryCommandState(ID_BACKUP_ORIGINAL).m_checked);
        d.Command(ID_KEEP_TIMESTAMPS);
        d.Command(ID_BACKUP_ORIGINAL);
        EXPECT_EQ(env.settings.m_keepTimestamps, 1);
        EXPECT_EQ(env.settings.m_backupOriginal, 0);
        EXPECT_TRUE(d.QueryCommandState(ID_KEEP_TIMESTAMPS).m_checked);

        // The file toolbar's tips come from the string table.
        NMTTDISPINFOW tip{};
        tip.hdr.hwndFrom = d.FileToolBar().GetToolTips();
        tip.hdr.idFrom = ID_REMOVE_ALL;
        tip.hdr.code = TTN_NEEDTEXTW;
        d.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
        const wchar_t* text = tip.lpszText ? tip.lpszText : tip.szText;
        EXPECT_STREQ(text, L"Remove all items");
        ASSERT_NE(tip.hdr.hwndFrom, nullptr);
        EXPECT_EQ(d.FileToolBar().GetButtonCount(), 4);
        EXPECT_EQ(d.MenuToolBar().GetButtonCount(), 2);
    });
    dlg.DoModal();
}

TEST(MainWindow, CommandLineFilesAndFoldersWithAFilterDoNotStartByThemselves)
{
    CTestEnvironment env;
    CTempFolder temp;
    const std::wstring file = temp.Write(L"single.dat", "x\r\n");
    temp.Write(L"tree\\one.txt", "1\r\n");
    temp.Write(L"tree\\skip.dat", "2\r\n");
    temp.Write(L"tree\\sub\\two.TXT", "3\r\n");
    CGuiCommandLine commandLine;
    commandLine.ParseCommandLine({L"-format", L"lf", L"-filter", L"*.txt", L"-as", L"-ss", file,
                                  temp.Path() + L"\\missing.txt", temp.Path() + L"\\tree"});
    CTestQuilletDlg dlg(env.settings, env.ui, &commandLine, [&](CTestQuilletDlg& d) {
        ASSERT_EQ(d.Rows(), 3);
        EXPECT_EQ(d.Path(0), file);
        EXPECT_EQ(d.Cell(1, 0), L"one.txt");
        EXPECT_EQ(d.Cell(2, 0), L"two.TXT");
        EXPECT_EQ(d.ColumnCaption(0), L"File (3)");
        EXPECT_TRUE(d.m_foldersPrompted.empty()) << "the command line's filter is used as it is";
        PumpUntil([] { return false; }, 300);
        EXPECT_FALSE(d.IsRunning()) << "a folder was given: no automatic start";
        EXPECT_EQ(d.Status(0), StatusNone);
        EXPECT_TRUE(d.Enabled(IDC_AUTO_CLOSE));
    });
    dlg.DoModal();
    EXPECT_EQ(temp.Read(L"single.dat"), "x\r\n");
}

TEST(MainWindow, CommandLineFolderWithoutAFilterAsksAndNeverStarts)
{
    CTestEnvironment env;
    env.settings.m_defaultFilter = L"";
    env.settings.m_lastFilter = L"*.md";
    CTempFolder temp;
    temp.Write(L"docs\\a.md", "a\r\n");
    temp.Write(L"docs\\b.txt", "b\r\n");
    CGuiCommandLine commandLine;
    commandLine.ParseCommandLine({L"-as", L"-ac", temp.Path() + L"\\docs"});
    CTestQuilletDlg dlg(env.settings, env.ui, &commandLine, [&](CTestQuilletDlg&) {});
    dlg.m_folderAnswer.filter = L"*.md";
    dlg.DoModal();
    ASSERT_EQ(dlg.m_foldersPrompted.size(), 1u);
    EXPECT_EQ(dlg.m_foldersPrompted[0], std::vector<std::wstring>{temp.Path() + L"\\docs"});
    EXPECT_FALSE(dlg.m_scanProposed[0]) << "the command line's scan flag";
    EXPECT_EQ(temp.Read(L"docs\\a.md"), "a\r\n") << "no automatic start after a folder";
}

TEST(MainWindow, DropsReadWholePathsAndCtrlForcesTheScanFlag)
{
    CTestEnvironment env;
    env.settings.m_scanSubfolders = 0;
    env.settings.m_defaultFilter = L"*.h";
    CTempFolder temp;
    temp.Write(L"src\\x.h", "h\r\n");
    temp.Write(L"src\\deep\\y.h", "h\r\n");
    // Dropped files are taken as they are, however long their paths.
    const std::wstring longPath = L"C:\\" + std::wstring(1500, L'n') + L".txt";
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        d.m_folderAnswer.filter = L"*.h";
        SetCtrlKey(true);
        d.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({longPath, temp.Path() + L"\\src"})));
        SetCtrlKey(false);
        ASSERT_EQ(d.m_foldersPrompted.size(), 1u);
        EXPECT_EQ(d.m_foldersPrompted[0], std::vector<std::wstring>{temp.Path() + L"\\src"});
        EXPECT_TRUE(d.m_scanProposed[0]) << "Ctrl held";
        ASSERT_EQ(d.Rows(), 3);
        EXPECT_EQ(d.Path(0), longPath);
        // The folder's files in the file system's order.
        std::vector<std::wstring> names{d.Cell(1, 0), d.Cell(2, 0)};
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::wstring>{L"x.h", L"y.h"}));

        d.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({temp.Path() + L"\\src"})));
        ASSERT_EQ(d.m_scanProposed.size(), 2u);
        EXPECT_FALSE(d.m_scanProposed[1]) << "without Ctrl the setting decides";
    });
    dlg.DoModal();
}

TEST(MainWindow, AddFolderSkipsAnEmptyPathAndNeverLoops)
{
    CTestEnvironment env;
    CTempFolder temp;
    temp.Write(L"top\\a.txt", "a");
    temp.Write(L"top\\sub\\b.txt", "b");
    // A link from deep inside back to the top of the tree.
    ASSERT_TRUE(RunUnixCommand("ln -s '" + UnixName(temp.Path() + L"\\top") + "' '" +
                               UnixName(temp.Path() + L"\\top\\sub") + "/back'"));
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        // Select Folder gives "" for My Computer and the like.
        d.m_folderAnswer = {true, L"", L"*", true};
        d.Command(ID_ADD_FOLDER);
        EXPECT_EQ(d.Rows(), 0);

        d.m_folderAnswer = {true, temp.Path() + L"\\top", L"*.txt", true};
        d.Command(ID_ADD_FOLDER);
        std::vector<std::wstring> names;
        for (int row = 0; row < d.Rows(); ++row)
            names.push_back(d.Cell(row, 0));
        // The link is entered once (it is not on the descent when met), its own link is not.
        EXPECT_LE(d.Rows(), 4);
        EXPECT_GE(d.Rows(), 2);
        EXPECT_EQ(d.Cell(0, 0), L"a.txt");

        const int before = d.Rows();
        d.m_folderAnswer = {true, temp.Path() + L"\\top", L"", true};
        d.Command(ID_ADD_FOLDER);
        EXPECT_EQ(d.Rows(), before) << "an empty filter matches nothing";
        d.m_folderAnswer = {false, temp.Path() + L"\\top", L"*", true};
        d.Command(ID_ADD_FOLDER);
        EXPECT_EQ(d.Rows(), before) << "cancelled";
    });
    dlg.DoModal();
}

// The folder is listed on a thread of its own while the window adds rows; a
// close in the middle stops the listing, keeps the rows added so far, and
// closes the window once the batch returns.
TEST(MainWindow, ClosingWhileAFolderIsAddedStopsTheListingAndThenCloses)
{
    // Enough files that adding them outlasts the window's first turn at its
    // queue, made in memory: creating them on this disk would take longer
    // than the test.
    constexpr int kFiles = 12000;
    const std::wstring tree = L"Z:\\dev\\shm\\ql-close-while-adding-" + std::to_wstring(::GetCurrentProcessId());
    const std::string unixTree = UnixName(tree);
    if (!RunUnixCommand("rm -rf '" + unixTree + "' && mkdir -p '" + unixTree + "' && cd '" + unixTree +
                        "' && for d in $(seq 1 10); do mkdir $d && (cd $d && seq 1 1200 | sed 's/$/.txt/' | xargs touch); done"))
        GTEST_SKIP() << "no /dev/shm";
    CTestEnvironment env;
    int added = -1;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        d.PostMessage(WM_COMMAND, IDCANCEL);
        added = d.AddFolderToList(tree, L"*", true);
        EXPECT_EQ(d.Rows(), added);
        EXPECT_TRUE(PumpUntil([&] { return d.IsEnding(); }, 5000));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    RunUnixCommand("rm -rf '" + unixTree + "'");
    // Under load the close may even come before the first file is listed.
    EXPECT_GE(added, 0);
    EXPECT_LT(added, kFiles) << "the close cut the batch short";
}

TEST(MainWindow, LayoutGapsAndTheSmallestSize)
{
    CTestEnvironment env;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [](CTestQuilletDlg& d) {
        auto rect = [&](int id) { return d.GetDlgItem(id).GetRectInParent(); };
        for (SIZE size : {SIZE{900, 700}, SIZE{640, 400}}) {
            d.SetPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
            RECT client = d.GetClientRect();
            EXPECT_EQ(rect(IDC_FILE_LIST).bottom, rect(IDC_FORMAT_LABEL).top - 6);
            EXPECT_EQ(rect(IDC_FILE_LIST).top, 40);
            EXPECT_EQ(rect(IDC_FILE_LIST).right, client.right - 10);
            EXPECT_EQ(rect(IDC_CONVERT).right, rect(IDOK).left - 6);
            EXPECT_EQ(rect(IDC_STOP).right, rect(IDOK).left - 6);
            EXPECT_EQ(rect(IDOK).right, client.right - 10);
            EXPECT_EQ(rect(IDOK).bottom, client.bottom - 10);
            EXPECT_EQ(rect(IDC_ALWAYS_ON_TOP).bottom, client.bottom - 8);
            EXPECT_EQ(rect(IDC_AUTO_CLOSE).bottom, rect(IDC_ALWAYS_ON_TOP).top - 4);
            EXPECT_EQ(rect(IDC_FORMAT_COMBO).right, client.right - 10);
            RECT menuBar = d.MenuToolBar().GetRectInParent();
            EXPECT_EQ(menuBar.right, client.right - 10);
            EXPECT_EQ(d.FileToolBar().GetRectInParent().left, 11);
        }
        MINMAXINFO limits{};
        d.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        EXPECT_EQ(limits.ptMinTrackSize.x, 480);
        EXPECT_EQ(limits.ptMinTrackSize.y, 320);
        d.SetPos(nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
        RECT window = d.GetWindowRect();
        EXPECT_GE(window.right - window.left, 480);
        EXPECT_GE(window.bottom - window.top, 320);
    });
    dlg.DoModal();
}

TEST(MainWindow, FolderDialogsOpenWithTheProposedFilterAndScanFlag)
{
    CTestEnvironment env;
    env.settings.m_scanSubfolders = 0;
    env.settings.m_defaultFilter = L"*.h";
    CTempFolder temp;
    temp.Write(L"src\\x.h", "h\r\n");
    temp.Write(L"src\\x.cpp", "c\r\n");
    temp.Write(L"src\\deep\\y.h", "h\r\n");
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [&](CTestQuilletDlg& d) {
        d.m_realFolderDialogs = true;
        // Add Folder: cancelled, nothing is added.
        g_seen = {};
        g_seen.closeWith = IDCANCEL;
        ::SetTimer(nullptr, 0, 200, AnswerFolderDialog);
        d.Command(ID_ADD_FOLDER);
        EXPECT_EQ(g_seen.title, L"Add Folder");
        EXPECT_EQ(g_seen.prompt, L"Add a folder to convert:");
        EXPECT_EQ(g_seen.filter, L"*.h");
        EXPECT_FALSE(g_seen.scanChecked);
        EXPECT_EQ(d.Rows(), 0);

        // A folder dropped with Ctrl held: Add Folders with the scan box checked.
        g_seen = {};
        ::SetTimer(nullptr, 0, 200, AnswerFolderDialog);
        SetCtrlKey(true);
        d.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({temp.Path() + L"\\src"})));
        SetCtrlKey(false);
        EXPECT_EQ(g_seen.title, L"Add Folders");
        EXPECT_EQ(g_seen.filter, L"*.h");
        EXPECT_TRUE(g_seen.scanChecked);
        ASSERT_EQ(d.Rows(), 2) << "x.h and deep\\y.h";
        EXPECT_EQ(env.settings.m_scanSubfolders, 1) << "the dialog keeps its scan flag";
    });
    dlg.DoModal();
}

namespace {
struct CSeenMenu {
    UINT defaultItem = 0;
    RECT rect{};
    bool open = false;
};
CSeenMenu g_menu;

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    HWND window = ::FindWindowW(L"#32768", nullptr);
    if (window && ::IsWindowVisible(window)) {
        g_menu.open = true;
        HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
        g_menu.defaultItem = ::GetMenuDefaultItem(menu, FALSE, 0);
        ::GetWindowRect(window, &g_menu.rect);
    }
    ::EndMenu();
}

CSeenMenu OpenContextMenu(CTestQuilletDlg& d, POINT screenPoint)
{
    g_menu = {};
    ::SetTimer(nullptr, 0, 300, ReadOpenMenu);
    d.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(d.FileList().Handle()),
                  MAKELPARAM(screenPoint.x, screenPoint.y));
    return g_menu;
}
}

TEST(MainWindow, ContextMenuFromTheKeyboardAndItsDefaultItem)
{
    CTestEnvironment env;
    CTestQuilletDlg dlg(env.settings, env.ui, nullptr, [](CTestQuilletDlg& d) {
        d.SetPos(nullptr, 100, 100, 700, 450, SWP_NOZORDER);
        POINT corner{0, 0};
        ::ClientToScreen(d.FileList().Handle(), &corner);

        // Nothing selected, from the keyboard: near the list's top-left corner; Add Files is the default.
        CSeenMenu empty = OpenContextMenu(d, {-1, -1});
        ASSERT_TRUE(empty.open);
        EXPECT_EQ(empty.defaultItem, UINT(ID_ADD_FILES));
        EXPECT_EQ(empty.rect.left, corner.x + 5);
        EXPECT_EQ(empty.rect.top, corner.y + 5);

        // A selected row: at the centre of its icon; Open File is the default.
        for (int i = 0; i < 3; ++i)
            d.AddFileToList(L"C:\\work\\row" + std::to_wstring(i) + L".txt");
        d.SelectOnly({1});
        RECT icon{};
        d.FileList().GetItemRect(1, icon, LVIR_ICON);
        POINT centre{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
        ::ClientToScreen(d.FileList().Handle(), &centre);
        CSeenMenu selected = OpenContextMenu(d, {-1, -1});
        ASSERT_TRUE(selected.open);
        EXPECT_EQ(selected.defaultItem, UINT(ID_OPEN_FILE));
        EXPECT_EQ(selected.rect.left, centre.x);
        EXPECT_EQ(selected.rect.top, centre.y);

        // With the mouse: where it was clicked.
        CSeenMenu mouse = OpenContextMenu(d, {corner.x + 40, corner.y + 60});
        EXPECT_EQ(mouse.rect.left, corner.x + 40);
        EXPECT_EQ(mouse.rect.top, corner.y + 60);
    });
    dlg.DoModal();
}
