// The Settings dialog and the extension installer, in-process under Wine with
// the real registry; regsvr32 is recorded through the shell-open seam, and
// run for real on QLTC_WS.dll in one case.
#include "CAppSettings.h"
#include "CSettingsDlg.h"
#include "CShellExtInstaller.h"
#include "DefaultFilterTable.h"
#include "DialogScript.h"
#include "FileNameEdit.h"
#include "QuilletKeyTest.h"
#include "ShellOpenRecorder.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlwapi.h>

namespace {
const wchar_t kSettings[] = L"Settings";

std::wstring ProgramFolderOfThisTest()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    ::PathRemoveFileSpecW(path);
    return path;
}

bool HandlerKeyExists(const wchar_t* path)
{
    CRegKey key;
    return key.Open(HKEY_CLASSES_ROOT, path) == ERROR_SUCCESS;
}

std::wstring Text(HWND dialog, int id)
{
    wchar_t text[1024] = {};
    ::GetDlgItemTextW(dialog, id, text, 1024);
    return text;
}

// The combo's own edit field, where the filter is typed.
HWND FilterEdit(HWND dialog)
{
    return reinterpret_cast<HWND>(::SendDlgItemMessageW(dialog, IDC_DEFAULT_FILTER, CBEM_GETEDITCONTROL, 0, 0));
}

// Owns the program's key (QuilletKeyTest) and, for the case, a folder with a
// stand-in QLTC_WS.dll; the machine's AppFolder and the handler keys are put
// back as they were.
class SettingsDialog : public QuilletKeyTest {
protected:
    void SetUp() override
    {
        QuilletKeyTest::SetUp();
        if (HasFatalFailure())
            return;
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"quillet-settings-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(m_folder.c_str(), nullptr);
        CFileHandle dll(::CreateFileW((m_folder + L"\\QLTC_WS.dll").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(dll);
        m_hadFileHandler = HandlerKeyExists(CShellExtInstaller::kFileHandlerKey);
        m_hadFolderHandler = HandlerKeyExists(CShellExtInstaller::kFolderHandlerKey);
    }
    void TearDown() override
    {
        CRegKey classes;
        if (classes.Open(HKEY_CLASSES_ROOT, L"", KEY_ALL_ACCESS) == ERROR_SUCCESS) {
            if (!m_hadFileHandler)
                classes.DeleteTree(CShellExtInstaller::kFileHandlerKey);
            if (!m_hadFolderHandler)
                classes.DeleteTree(CShellExtInstaller::kFolderHandlerKey);
        }
        CRegKey machine;
        if (machine.Open(HKEY_LOCAL_MACHINE, kRoot, KEY_ALL_ACCESS) == ERROR_SUCCESS)
            ::RegDeleteValueW(machine.Get(), L"AppFolder");
        ::DeleteFileW((m_folder + L"\\QLTC_WS.dll").c_str());
        ::RemoveDirectoryW(m_folder.c_str());
        QuilletKeyTest::TearDown();
    }

    void RunSettings(CAppSettings& settings, std::vector<DialogStep> steps)
    {
        WhenDialogShows(L"Settings", std::move(steps));
        RunInApplication([&] { ShowSettingsDialog(settings, nullptr); });
    }

    std::wstring m_folder;
    bool m_hadFileHandler = false;
    bool m_hadFolderHandler = false;
};
}  // namespace

TEST_F(SettingsDialog, OneHandlerKeyIsEnoughForTheBoxAndOkRegistersEveryTime)
{
    CShellOpenRecorder shell;
    shell.SetElevated(true);
    Write(L"", L"AppFolder", m_folder);
    CAppSettings settings;
    settings.ResetPresetFilters();

    // No key: clear. OK with the box clear still removes (silently).
    RunSettings(settings, {[](HWND dialog) {
                    EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_SHELL_EXTENSION), BST_UNCHECKED);
                    ClickButton(dialog, IDOK);
                }});
    ASSERT_EQ(shell.Requests().size(), 1u);
    EXPECT_EQ(shell.Requests()[0].file, L"regsvr32.exe");
    EXPECT_EQ(shell.Requests()[0].verb, L"");
    EXPECT_EQ(shell.Requests()[0].show, SW_HIDE);
    EXPECT_TRUE(shell.Requests()[0].wait);
    // The DLL is looked for in AppFolder, not beside the program; a copy
    // without the machine's record is the user's, also when elevated.
    EXPECT_EQ(shell.Requests()[0].parameters, L"/u /s /n /i:user \"" + m_folder + L"\\QLTC_WS.dll\"");

    CRegKey handler;
    ASSERT_EQ(handler.Create(HKEY_CLASSES_ROOT, CShellExtInstaller::kFolderHandlerKey), ERROR_SUCCESS);
    EXPECT_EQ(CShellExtInstaller().IsInstalled(), 1);
    shell.Clear();
    RunSettings(settings, {[](HWND dialog) {
                    EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_SHELL_EXTENSION), BST_CHECKED);
                    ClickButton(dialog, IDOK);
                }});
    ASSERT_EQ(shell.Requests().size(), 1u);
    EXPECT_EQ(shell.Requests()[0].parameters, L"/s /n /i:user \"" + m_folder + L"\\QLTC_WS.dll\"");

    // Cancel runs nothing.
    shell.Clear();
    RunSettings(settings, {[](HWND dialog) { ClickButton(dialog, IDCANCEL); }});
    EXPECT_TRUE(shell.Requests().empty());
}

TEST_F(SettingsDialog, TheMachinesInstallRecordAloneMakesTheRegistrationMachineWide)
{
    CShellOpenRecorder shell;
    shell.SetElevated(false);
    Write(L"", L"AppFolder", m_folder);
    const std::wstring dll = L"\"" + m_folder + L"\\QLTC_WS.dll\"";
    EXPECT_TRUE(CShellExtInstaller().Install());
    EXPECT_TRUE(CShellExtInstaller().Uninstall());
    ASSERT_EQ(shell.Requests().size(), 2u);
    EXPECT_EQ(shell.Requests()[0].parameters, L"/s /n /i:user " + dll);
    EXPECT_EQ(shell.Requests()[0].verb, L"");
    EXPECT_EQ(shell.Requests()[1].parameters, L"/u /s /n /i:user " + dll);

    // The user's own key claiming a per-machine install counts for nothing.
    shell.Clear();
    Write(L"", L"InstallMode", L"AllUsers");
    EXPECT_TRUE(CShellExtInstaller().Install());
    ASSERT_EQ(shell.Requests().size(), 1u);
    EXPECT_EQ(shell.Requests()[0].parameters, L"/s /n /i:user " + dll);

    // A per-machine setup recorded this folder: machine-wide, with rights
    // asked for when they are missing, and without when they are there.
    CRegKey machine;
    ASSERT_EQ(machine.Create(HKEY_LOCAL_MACHINE, kRoot), ERROR_SUCCESS);
    ASSERT_EQ(machine.SetString(L"AppFolder", m_folder), ERROR_SUCCESS);
    ASSERT_EQ(machine.SetString(L"InstallMode", L"AllUsers"), ERROR_SUCCESS);
    shell.Clear();
    EXPECT_TRUE(CShellExtInstaller().Install());
    shell.SetElevated(true);
    EXPECT_TRUE(CShellExtInstaller().Install());
    ASSERT_EQ(shell.Requests().size(), 2u);
    EXPECT_EQ(shell.Requests()[0].verb, L"runas");
    EXPECT_EQ(shell.Requests()[0].parameters, L"/s " + dll);
    EXPECT_EQ(shell.Requests()[1].verb, L"");
    EXPECT_EQ(shell.Requests()[1].parameters, L"/s " + dll);
    ::RegDeleteValueW(machine.Get(), L"InstallMode");

    // No DLL in the folder: nothing is started, and the caller hears false.
    shell.Clear();
    Write(L"", L"AppFolder", m_folder + L"\\missing");
    EXPECT_FALSE(CShellExtInstaller().Install());
    EXPECT_TRUE(shell.Requests().empty());
}

TEST_F(SettingsDialog, ProgramFolderPrefersTheUsersAppFolderThenTheMachinesThenItsOwn)
{
    EXPECT_EQ(GetProgramFolder(), ProgramFolderOfThisTest());
    CRegKey machine;
    ASSERT_EQ(machine.Create(HKEY_LOCAL_MACHINE, kRoot), ERROR_SUCCESS);
    ASSERT_EQ(machine.SetString(L"AppFolder", L"C:\\Machine\\Quillet"), ERROR_SUCCESS);
    EXPECT_EQ(GetProgramFolder(), L"C:\\Machine\\Quillet");
    Write(L"", L"AppFolder", L"C:\\User\\Quillet");
    EXPECT_EQ(GetProgramFolder(), L"C:\\User\\Quillet");
    // An empty value counts as missing.
    Write(L"", L"AppFolder", L"");
    EXPECT_EQ(GetProgramFolder(), L"C:\\Machine\\Quillet");
}

TEST_F(SettingsDialog, RealRegsvr32AddsAndRemovesBothHandlerKeys)
{
    const std::wstring dll = ProgramFolderOfThisTest() + L"\\QLTC_WS.dll";
    if (!::PathFileExistsW(dll.c_str()))
        GTEST_SKIP() << "QLTC_WS.dll is not built";
    if (CShellExtInstaller().IsInstalled() != 0)
        GTEST_SKIP() << "the extension is registered already";
    // Without an install record this is a portable copy: registered for the
    // user, which the box sees although Wine's HKEY_CLASSES_ROOT does not.
    CShellOpenRecorder shell(true);
    shell.SetElevated(true);
    CAppSettings settings;
    settings.ResetPresetFilters();

    RunSettings(settings, {[](HWND dialog) {
                    ::CheckDlgButton(dialog, IDC_SHELL_EXTENSION, BST_CHECKED);
                    ClickButton(dialog, IDOK);
                }});
    EXPECT_EQ(CShellExtInstaller().IsInstalled(), 2);
    EXPECT_TRUE(CShellExtInstaller::IsRegisteredIn(RegistrationScope::User));
    EXPECT_FALSE(CShellExtInstaller::IsRegisteredIn(RegistrationScope::Machine));

    RunSettings(settings, {[](HWND dialog) {
                    EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_SHELL_EXTENSION), BST_CHECKED);
                    ::CheckDlgButton(dialog, IDC_SHELL_EXTENSION, BST_UNCHECKED);
                    ClickButton(dialog, IDOK);
                }});
    EXPECT_EQ(CShellExtInstaller().IsInstalled(), 0);
    ASSERT_EQ(shell.Requests().size(), 2u);
    EXPECT_EQ(shell.Requests()[1].parameters, L"/u /s /n /i:user \"" + dll + L"\"");
}

TEST_F(SettingsDialog, FiltersAndViewerAreStoredAsTyped)
{
    CShellOpenRecorder shell;
    CAppSettings settings;
    settings.ResetPresetFilters();
    settings.m_fileViewer = L"C:\\Tools\\view.exe";

    // An empty default filter stays empty: no preset is put into it.
    RunSettings(settings, {[](HWND) {}, [](HWND dialog) {
                    EXPECT_EQ(Text(dialog, IDC_FILE_VIEWER), L"C:\\Tools\\view.exe");
                    Screenshot(dialog, "settings_dialog.png");
                    EXPECT_EQ(::SendDlgItemMessageW(dialog, IDC_DEFAULT_FILTER, CB_GETCOUNT, 0, 0), 20);
                    EXPECT_EQ(Text(dialog, IDC_DEFAULT_FILTER), L"");
                    ::SetDlgItemTextW(dialog, IDC_FILE_VIEWER, L"");
                    ClickButton(dialog, IDOK);
                }});
    EXPECT_EQ(settings.m_defaultFilter, L"");
    EXPECT_EQ(settings.m_fileViewer, L"");

    // A chosen preset stores its filter string, not its display text.
    RunSettings(settings, {[](HWND dialog) {
                    // As a click in the dropped list does it: the inner combo box
                    // tells the extended one, which updates its edit field and
                    // then tells the dialog.
                    HWND combo = ::GetDlgItem(dialog, IDC_DEFAULT_FILTER);
                    HWND inner = reinterpret_cast<HWND>(::SendMessageW(combo, CBEM_GETCOMBOCONTROL, 0, 0));
                    ::SendMessageW(inner, CB_SETCURSEL, 17, 0);
                    ::SendMessageW(combo, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(inner), CBN_SELCHANGE),
                                   reinterpret_cast<LPARAM>(inner));
                    EXPECT_EQ(Text(dialog, IDC_DEFAULT_FILTER), L"*.txt");
                    ClickButton(dialog, IDOK);
                }});
    EXPECT_EQ(settings.m_defaultFilter, L"*.txt");

    // The display text left in the field (Wine's arrow keys) is read as the filter too.
    RunSettings(settings, {[](HWND dialog) {
                    EXPECT_EQ(Text(dialog, IDC_DEFAULT_FILTER), L"*.txt");
                    ::SetWindowTextW(FilterEdit(dialog), L"All Files (*)");
                    ClickButton(dialog, IDOK);
                }});
    EXPECT_EQ(settings.m_defaultFilter, L"*");
}

TEST_F(SettingsDialog, BrowseTakesTheFirstChosenProgramAndCancelKeepsTheTypedText)
{
    CShellOpenRecorder shell;
    CAppSettings settings;
    settings.ResetPresetFilters();
    const std::wstring typed = m_folder + L"\\typed.exe";
    const std::wstring title = CSettingsDlg::kBrowseTitle;

    RunSettings(settings, {[&](HWND dialog) {
                               ::SetDlgItemTextW(dialog, IDC_FILE_VIEWER, typed.c_str());
                               WhenDialogShows(title, [&](HWND files) {
                                   ::PostMessageW(files, WM_COMMAND, IDCANCEL, 0);
                               });
                               ClickButton(dialog, IDC_BROWSE_VIEWER);
                               EXPECT_EQ(Text(dialog, IDC_FILE_VIEWER), typed);
                           },
                           [&](HWND dialog) {
                               // Two names chosen: the first one's full path, never the folder.
                               WhenDialogShows(title, [&](HWND files) {
                                   HWND edit = FileNameEdit(files);
                                   ASSERT_TRUE(edit);
                                   // The dialog opens in the typed path's folder.
                                   ::SetWindowTextW(edit, L"\"QLTC_WS.dll\" \"b.exe\"");
                                   ::PostMessageW(files, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                                  reinterpret_cast<LPARAM>(::GetDlgItem(files, IDOK)));
                               });
                               ClickButton(dialog, IDC_BROWSE_VIEWER);
                               EXPECT_EQ(Text(dialog, IDC_FILE_VIEWER), m_folder + L"\\QLTC_WS.dll");
                               ClickButton(dialog, IDOK);
                           }});
    EXPECT_EQ(settings.m_fileViewer, m_folder + L"\\QLTC_WS.dll");
}
