#include <gtest/gtest.h>

#include "CAddFoldersDlg.h"
#include "CComInitializer.h"
#include "CSelectFolderDlg.h"
#include "FolderTestSupport.h"
#include "Screenshot.h"
#include "resource.h"

#include <shellapi.h>
#include <string>

namespace {
using CSelectDlg = CScripted<CSelectFolderDlg>;
using CAddDlg = CScripted<CAddFoldersDlg>;

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

void Click(const CWindow& dialog, int id)
{
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

RECT ControlRect(const CWindow& dialog, int id)
{
    return dialog.GetDlgItem(id).GetRectInParent();
}

void LoadSettings(CAppSettings& settings)
{
    settings.ResetPresetFilters();
    settings.m_lastFolder = L"C:\\previous";
    settings.m_lastFilter = L"*.old";
    settings.m_scanSubfolders = 1;
}

HIMAGELIST SystemSmallIcons()
{
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

int IconByAttributes(const std::wstring& path, DWORD attributes)
{
    SHFILEINFOW info{};
    ::SHGetFileInfoW(path.c_str(), attributes, &info, sizeof(info),
                     SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON);
    return info.iIcon;
}
}  // namespace

TEST(CSelectFolderDlg, PreselectsTheLastFolderAndOkStoresFolderFilterAndScanFlag)
{
    CComInitializer com;
    CTestFolders folders;
    CAppSettings settings;
    LoadSettings(settings);
    CSelectDlg dlg(
        [](CSelectDlg& d) {
            EXPECT_EQ(d.GetText(), L"Add Folder");
            EXPECT_EQ(d.GetDlgItem(IDC_FOLDER_PROMPT).GetText(), L"Add a folder to convert:");
            EXPECT_EQ(d.FilterCombo().GetEditText(), L"*.c");
            // A modal frame: no caption icon, no Restore/Minimize/Maximize.
            EXPECT_TRUE(d.GetExStyle() & WS_EX_DLGMODALFRAME);
            HMENU system = ::GetSystemMenu(d, FALSE);
            EXPECT_EQ(::GetMenuState(system, SC_MAXIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
            EXPECT_EQ(::GetMenuState(system, SC_MINIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
            EXPECT_EQ(::GetMenuState(system, SC_RESTORE, MF_BYCOMMAND), static_cast<UINT>(-1));
            EXPECT_NE(::GetMenuState(system, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));

            ASSERT_TRUE(PumpUntil([&] { return !d.IsPreselecting(); }));
            EXPECT_TRUE(SamePath(d.Tree().GetSelectedPath(), CTestFolders::Deep()));
            PaintNow(d);
            SaveScreenshot(d.GetWindowRect(), "select_folder_dialog.png");

            d.FilterCombo().SetEditText(L"*.txt;*.md");
            ::CheckDlgButton(d, IDC_FOLDER_SCAN_SUBFOLDERS, BST_UNCHECKED);
            Click(d, IDOK);
        },
        settings);
    dlg.m_title = L"Add Folder";
    dlg.m_prompt = L"Add a folder to convert:";
    dlg.m_initialFolder = CTestFolders::Deep();
    dlg.m_filterText = L"*.c";
    dlg.m_scanSubfolders = 1;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(SamePath(dlg.m_selectedFolder, CTestFolders::Deep()));
    EXPECT_EQ(dlg.m_filterText, L"*.txt;*.md");
    EXPECT_EQ(dlg.m_scanSubfolders, 0);
    EXPECT_EQ(settings.m_lastFolder, dlg.m_selectedFolder);
    EXPECT_EQ(settings.m_lastFilter, L"*.txt;*.md");
    EXPECT_EQ(settings.m_scanSubfolders, 0);
}

TEST(CSelectFolderDlg, AVirtualItemGivesAnEmptyFolderAndCancelStoresNothing)
{
    CComInitializer com;
    CAppSettings settings;
    LoadSettings(settings);
    CSelectDlg ok(
        [](CSelectDlg& d) {
            // A last folder that is gone: no pre-selection, only the opened root.
            EXPECT_FALSE(d.IsPreselecting());
            CFolderTreeCtrl& tree = d.Tree();
            CItemIdList drives;
            ASSERT_TRUE(SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.Put())));
            HTREEITEM myComputer = tree.FindChildItem(tree.GetRoot(), drives.Get());
            ASSERT_NE(myComputer, nullptr);
            tree.SelectItem(myComputer);
            Click(d, IDOK);
        },
        settings);
    ok.m_initialFolder = L"C:\\QuilletFolderTest\\gone";
    ASSERT_EQ(ok.DoModal(), IDOK);
    // The caller adds nothing for it; the empty folder is still remembered.
    EXPECT_EQ(ok.m_selectedFolder, L"");
    EXPECT_EQ(settings.m_lastFolder, L"");
    // An empty filter shows the first preset's filter, which OK then keeps.
    EXPECT_EQ(settings.m_lastFilter, settings.m_presets[0].Filter);

    LoadSettings(settings);
    CSelectDlg cancel([](CSelectDlg& d) { Click(d, IDCANCEL); }, settings);
    cancel.m_filterText = L"*.x";
    ASSERT_EQ(cancel.DoModal(), IDCANCEL);
    EXPECT_EQ(settings.m_lastFolder, L"C:\\previous");
    EXPECT_EQ(settings.m_lastFilter, L"*.old");
}

TEST(CSelectFolderDlg, LayoutFollowsTheSizeWithAMinimumOf320By280)
{
    CComInitializer com;
    CAppSettings settings;
    LoadSettings(settings);
    CSelectDlg dlg(
        [](CSelectDlg& d) {
            const RECT okBefore = ControlRect(d, IDOK);
            ::SetWindowPos(d, nullptr, 0, 0, 700, 560, SWP_NOMOVE | SWP_NOZORDER);
            const RECT client = d.GetClientRect();
            const int w = client.right, h = client.bottom;
            const RECT cancel = ControlRect(d, IDCANCEL), okNow = ControlRect(d, IDOK);
            EXPECT_EQ(cancel.right, w - 10);
            EXPECT_EQ(cancel.bottom, h - 10);
            EXPECT_EQ(okNow.right, cancel.left - 6);
            EXPECT_EQ(okNow.bottom - okNow.top, okBefore.bottom - okBefore.top);
            EXPECT_EQ(ControlRect(d, IDC_FOLDER_SCAN_SUBFOLDERS).bottom, h - 10);
            const RECT combo = ControlRect(d, IDC_FOLDER_FILTER_COMBO);
            EXPECT_EQ(combo.right, w - 10);
            EXPECT_EQ(combo.bottom, h - (okNow.bottom - okNow.top) - 16);
            const RECT label = ControlRect(d, IDC_FOLDER_FILTER_LABEL);
            const RECT tree = ControlRect(d, IDC_FOLDER_TREE);
            EXPECT_EQ(tree.right, w - 10);
            EXPECT_EQ(tree.bottom, label.top - 4);
            EXPECT_EQ(ControlRect(d, IDC_FOLDER_PROMPT).right, w - 10);
            const RECT grip = ControlRect(d, IDC_SIZE_GRIP);
            EXPECT_EQ(grip.left, w - ::GetSystemMetrics(SM_CXVSCROLL));
            EXPECT_EQ(grip.bottom, h);

            MINMAXINFO limits{};
            d.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
            EXPECT_EQ(limits.ptMinTrackSize.x, 320);
            EXPECT_EQ(limits.ptMinTrackSize.y, 280);
            Click(d, IDCANCEL);
        },
        settings);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

// The pre-selection works on the dialog's tree one level per message; closing
// at any point between those steps must stop it and free every item.
TEST(CSelectFolderDlg, ClosingWhileThePreselectionRunsStopsItCleanly)
{
    CComInitializer com;
    CTestFolders folders;
    CAppSettings settings;
    LoadSettings(settings);
    const long listsBefore = CItemIdList::LiveCount();
    int interrupted = 0;
    for (int round = 0; round < 50; ++round) {
        CSelectDlg dlg(
            [&](CSelectDlg& d) {
                for (int i = 0; i < round % 9 && PumpOneMessage(); ++i) {
                }
                if (d.IsPreselecting())
                    ++interrupted;
                Click(d, IDCANCEL);
            },
            settings);
        dlg.m_initialFolder = CTestFolders::Deep();
        ASSERT_EQ(dlg.DoModal(), IDCANCEL) << round;
        // Steps still queued for the destroyed window go nowhere.
        while (PumpOneMessage()) {
        }
        ASSERT_EQ(CItemIdList::LiveCount(), listsBefore) << round;
    }
    EXPECT_GT(interrupted, 25);
    EXPECT_EQ(settings.m_lastFolder, L"C:\\previous");
}

TEST(CAddFoldersDlg, ListsTheFoldersInOrderWithIconsAndOkStoresFilterAndScanFlag)
{
    CComInitializer com;
    CTestFolders folders;
    CAppSettings settings;
    LoadSettings(settings);
    settings.m_scanSubfolders = 0;
    const std::wstring missing = CTestFolders::Root() + L"\\gone.txt";
    const std::vector<std::wstring> paths{CTestFolders::Deep(), CTestFolders::Root(), missing};
    CAddDlg dlg(
        [&](CAddDlg& d) {
            CListView& list = d.FolderList();
            EXPECT_EQ(reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL)),
                      SystemSmallIcons());
            ASSERT_EQ(list.GetItemCount(), 3);
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(list.GetItemText(i, 0), paths[i]);
                LVITEMW item{};
                item.mask = LVIF_IMAGE;
                item.iItem = i;
                list.GetItem(item);
                DWORD attributes = i < 2 ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
                EXPECT_EQ(item.iImage, IconByAttributes(paths[i], attributes)) << i;
            }
            // The caller asked for subfolders (Ctrl was down) against the setting.
            EXPECT_EQ(::IsDlgButtonChecked(d, IDC_FOLDER_SCAN_SUBFOLDERS), BST_CHECKED);
            // No initial filter: the first preset's filter string.
            EXPECT_EQ(d.FilterCombo().GetEditText(), settings.m_presets[0].Filter);
            PaintNow(d);
            SaveScreenshot(d.GetWindowRect(), "add_folders_dialog.png");
            Click(d, IDOK);
        },
        settings, CImageListHandle(SystemSmallIcons()));
    dlg.m_folders = paths;
    dlg.m_filterText = L"";
    dlg.m_scanSubfolders = 1;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_folders, paths);
    EXPECT_EQ(dlg.m_filterText, settings.m_presets[0].Filter);
    EXPECT_EQ(dlg.m_scanSubfolders, 1);
    EXPECT_EQ(settings.m_lastFilter, settings.m_presets[0].Filter);
    EXPECT_EQ(settings.m_scanSubfolders, 1);
    EXPECT_EQ(settings.m_lastFolder, L"C:\\previous");
}

namespace {
// As a click in the dropped list does it: the inner combo box tells the
// extended one, which updates its edit field and then tells the dialog.
void ChoosePreset(HWND dialog, int index)
{
    HWND combo = ::GetDlgItem(dialog, IDC_FOLDER_FILTER_COMBO);
    HWND inner = reinterpret_cast<HWND>(::SendMessageW(combo, CBEM_GETCOMBOCONTROL, 0, 0));
    ::SendMessageW(inner, CB_SETCURSEL, index, 0);
    ::SendMessageW(combo, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(inner), CBN_SELCHANGE), reinterpret_cast<LPARAM>(inner));
}
}  // namespace

TEST(FolderDialogs, ChoosingAPresetInTheFilterComboPutsItsFilterInBothDialogs)
{
    CComInitializer com;
    CAppSettings settings;
    LoadSettings(settings);
    const PresetFilter chosen = settings.m_presets[2];
    CSelectDlg select(
        [&](CSelectDlg& d) {
            ChoosePreset(d, 2);
            EXPECT_EQ(d.FilterCombo().GetEditText(), chosen.Filter);
            Click(d, IDOK);
        },
        settings);
    select.m_filterText = L"*.x";
    ASSERT_EQ(select.DoModal(), IDOK);
    EXPECT_EQ(select.m_filterText, chosen.Filter);
    EXPECT_EQ(settings.m_lastFilter, chosen.Filter);

    LoadSettings(settings);
    CAddDlg add(
        [&](CAddDlg& d) {
            ChoosePreset(d, 2);
            EXPECT_EQ(d.FilterCombo().GetEditText(), chosen.Filter);
            Click(d, IDOK);
        },
        settings, CImageListHandle(SystemSmallIcons()));
    add.m_folders = {L"C:\\"};
    add.m_filterText = L"*.x";
    ASSERT_EQ(add.DoModal(), IDOK);
    EXPECT_EQ(add.m_filterText, chosen.Filter);
    EXPECT_EQ(settings.m_lastFilter, chosen.Filter);
}
