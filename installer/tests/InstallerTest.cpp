// The setup program under Wine, silently: per-user and per-machine installs
// into temporary folders, the installed extension starting the installed
// program, uninstalling with and without the user's settings, and installing
// again over a copy or elsewhere.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "InstalledCopy.h"
#include "TestSupport.h"

using namespace qltest;

namespace {

const std::wstring kClsid = L"{2492AC56-FE65-4047-A46F-FC1A61024BE6}";
const std::wstring kClasses = L"Software\\Classes\\";
const std::wstring kSettingsKey = std::wstring(kAppKey) + L"\\Settings";
const std::wstring kHandlerKeys[] = {L"*\\ShellEx\\ContextMenuHandlers\\Varnel.Quillet",
                                     L"Folder\\ShellEx\\ContextMenuHandlers\\Varnel.Quillet"};
// Every classes key the registration writes: scripts, type library, proxy/stub.
const std::wstring kOurClassKeys[] = {
    kHandlerKeys[0], kHandlerKeys[1], L"CLSID\\" + kClsid, L"Varnel.Quillet.SCM", L"Varnel.Quillet.SCM.1",
    L"AppID\\{876DE289-B18E-448D-857C-E44090D67CC0}", L"AppID\\QLTC_WS.DLL",
    L"TypeLib\\{03782278-608B-47A9-848C-55DCD5443AB5}", L"Interface\\{6CB3B6CF-1832-4FF3-9C33-1F3B6595E64C}",
    L"CLSID\\{6CB3B6CF-1832-4FF3-9C33-1F3B6595E64C}",
    L"Wow6432Node\\Interface\\{6CB3B6CF-1832-4FF3-9C33-1F3B6595E64C}"};
// The values of a registration that name the DLL it loads.
const std::wstring kDllPathValues[] = {L"CLSID\\" + kClsid + L"\\InprocServer32",
                                       L"CLSID\\{6CB3B6CF-1832-4FF3-9C33-1F3B6595E64C}\\InprocServer32",
                                       L"TypeLib\\{03782278-608B-47A9-848C-55DCD5443AB5}\\1.0\\0\\win64"};
const wchar_t* const kInstalledFiles[] = {L"Quillet.exe", L"QLTC.exe", L"QLTC_WS.dll", L"Uninstall.exe"};

HKEY Root(bool perMachine) { return perMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// Which keys of ours a hive's classes hold, one name a line.
std::wstring OurKeysIn(HKEY root) {
    std::wstring found;
    for (const std::wstring& key : kOurClassKeys) {
        if (KeyExists(root, kClasses + key))
            found += key + L"\n";
    }
    return found;
}

bool HandlersIn(HKEY root) {
    return KeyExists(root, kClasses + kHandlerKeys[0]) && KeyExists(root, kClasses + kHandlerKeys[1]);
}

// Registrations that name a DLL which is not there, in either hive.
std::wstring DanglingRegistrations() {
    std::wstring found;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (const std::wstring& value : kDllPathValues) {
            const std::wstring dll = ReadString(root, kClasses + value);
            if (dll != L"<none>" && !PathExists(dll))
                found += value + L" = " + dll + L"\n";
        }
    }
    return found;
}

class Installer : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(PathExists(SetupPath())) << "the installer target builds it";
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            m_keys.push_back(std::make_unique<CAppKeyScope>(root));
            m_keys.push_back(std::make_unique<CAppKeyScope>(root, kUninstallKey));
        }
        m_scratch = std::make_unique<CScratchFolder>();
        // Settings and presets of the user, which installing and uninstalling keep.
        WriteDword(HKEY_CURRENT_USER, kSettingsKey, L"Format", 2);
    }

    void TearDown() override {
        for (const std::wstring& folder : m_folders) {
            if (PathExists(folder + L"\\Uninstall.exe"))
                RunUninstaller(folder, L"");
        }
        m_scratch.reset();
        while (!m_keys.empty())
            m_keys.pop_back();
    }

    // An install folder inside the scratch folder; the blank tests the quoting.
    std::wstring Folder(const std::wstring& name) {
        m_folders.push_back(m_scratch->Path() + L"\\" + name + L" Quillet");
        return m_folders.back();
    }

    void ExpectInstalled(const std::wstring& folder, bool perMachine) {
        for (const wchar_t* file : kInstalledFiles)
            EXPECT_TRUE(PathExists(folder + L"\\" + file)) << file;
        EXPECT_EQ(folder, ReadString(HKEY_CURRENT_USER, kAppKey, L"AppFolder"));
        EXPECT_EQ(perMachine ? folder : L"<none>", ReadString(HKEY_LOCAL_MACHINE, kAppKey, L"AppFolder"));

        const HKEY root = Root(perMachine);
        for (const std::wstring& key : kHandlerKeys)
            EXPECT_EQ(kClsid, ReadString(root, kClasses + key)) << key;
        EXPECT_EQ(folder + L"\\QLTC_WS.dll", ReadString(root, kClasses + L"CLSID\\" + kClsid + L"\\InprocServer32"));
        for (const std::wstring& key : kOurClassKeys)
            EXPECT_FALSE(KeyExists(Root(!perMachine), kClasses + key)) << key;

        EXPECT_TRUE(PathExists(ProgramsFolder(perMachine) + L"\\Quillet.lnk"));
        const std::wstring mode = perMachine ? L"/AllUsers" : L"/CurrentUser";
        EXPECT_EQ(L"Quillet", ReadString(root, kUninstallKey, L"DisplayName"));
        EXPECT_EQ(L"2.1.0", ReadString(root, kUninstallKey, L"DisplayVersion"));
        EXPECT_EQ(L"Varnel", ReadString(root, kUninstallKey, L"Publisher"));
        EXPECT_EQ(folder + L"\\Quillet.exe,0", ReadString(root, kUninstallKey, L"DisplayIcon"));
        EXPECT_EQ(L"\"" + folder + L"\\Uninstall.exe\" " + mode, ReadString(root, kUninstallKey, L"UninstallString"));
        const DWORD sizeKiB = ReadDword(root, kUninstallKey, L"EstimatedSize");
        EXPECT_GT(sizeKiB, 100u);
        EXPECT_LT(sizeKiB, 100000u);
        EXPECT_FALSE(KeyExists(Root(!perMachine), kUninstallKey)); // exactly one entry
    }

    void ExpectNothingLeft(const std::wstring& folder) {
        EXPECT_FALSE(PathExists(folder));
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            for (const std::wstring& key : kOurClassKeys)
                EXPECT_FALSE(KeyExists(root, kClasses + key)) << key;
            EXPECT_EQ(L"<none>", ReadString(root, kAppKey, L"AppFolder"));
            EXPECT_FALSE(KeyExists(root, kUninstallKey));
        }
        EXPECT_FALSE(PathExists(ProgramsFolder(false) + L"\\Quillet.lnk"));
        EXPECT_FALSE(PathExists(ProgramsFolder(true) + L"\\Quillet.lnk"));
    }

    // The installed extension, driven as Explorer drives it, starts the
    // installed Quillet.exe, which converts the file and closes by itself.
    void ExpectExtensionConvertsWithInstalledProgram() {
        ASSERT_TRUE(WaitFor([] { return !QuilletRunning(); }));
        const std::wstring file = m_scratch->Path() + L"\\notes-" + std::to_wstring(++m_runs) + L".txt";
        WriteBytes(file, "one\r\ntwo\r\n");
        ASSERT_EQ(0, RunAndWait(L"\"" + ProgramFolder() + L"ExplorerClient.exe\" 2 \"" + file + L"\""));
        EXPECT_TRUE(WaitFor([&] { return ReadBytes(file) == "one\ntwo\n"; })) << ReadBytes(file);
        EXPECT_TRUE(WaitFor([] { return !QuilletRunning(); })) << "the installed program closes by itself";
    }

    std::unique_ptr<CScratchFolder> m_scratch;

private:
    std::vector<std::unique_ptr<CAppKeyScope>> m_keys;
    std::vector<std::wstring> m_folders;
    int m_runs = 0;
};

} // namespace

TEST_F(Installer, PerUserInstallWorksFromExplorerAndUninstallKeepsTheSettings) {
    const std::wstring folder = Folder(L"User");
    ASSERT_EQ(0, RunSetup(L"/CurrentUser", folder));
    ExpectInstalled(folder, false);
    ExpectExtensionConvertsWithInstalledProgram();

    ASSERT_TRUE(RunUninstaller(folder, L""));
    ExpectNothingLeft(folder);
    EXPECT_EQ(2u, ReadDword(HKEY_CURRENT_USER, kSettingsKey, L"Format"));
}

TEST_F(Installer, PerMachineInstallServesAUserWithoutTheirOwnAppFolder) {
    const std::wstring folder = Folder(L"Machine");
    ASSERT_EQ(0, RunSetup(L"/AllUsers", folder));
    ExpectInstalled(folder, true);
    // Another user of the machine: no "AppFolder" of their own.
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kAppKey, L"AppFolder");
    ExpectExtensionConvertsWithInstalledProgram();

    ASSERT_TRUE(RunUninstaller(folder, L"/RemoveSettings"));
    ExpectNothingLeft(folder);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppKey));
}

TEST_F(Installer, InstallingAgainLeavesOneCopyAndKeepsTheSettings) {
    const std::wstring first = Folder(L"First");
    const std::wstring second = Folder(L"Second");
    const std::wstring third = Folder(L"Third");
    ASSERT_EQ(0, RunSetup(L"/CurrentUser", first));

    // Elsewhere: the first copy is uninstalled, not left behind.
    ASSERT_EQ(0, RunSetup(L"/CurrentUser", second));
    EXPECT_FALSE(PathExists(first));
    ExpectInstalled(second, false);

    // Over itself, and then for the whole machine instead.
    ASSERT_EQ(0, RunSetup(L"/CurrentUser", second));
    ExpectInstalled(second, false);
    ASSERT_EQ(0, RunSetup(L"/AllUsers", third));
    EXPECT_FALSE(PathExists(second));
    ExpectInstalled(third, true);
    EXPECT_EQ(2u, ReadDword(HKEY_CURRENT_USER, kSettingsKey, L"Format"));

    ASSERT_TRUE(RunUninstaller(third, L""));
    ExpectNothingLeft(third);
    EXPECT_EQ(2u, ReadDword(HKEY_CURRENT_USER, kSettingsKey, L"Format"));
}

TEST_F(Installer, PerUserCopyKeepsTheSettingsDialogsRegistrationToTheUser) {
    const std::wstring folder = Folder(L"User");
    ASSERT_EQ(0, RunSetup(L"/CurrentUser", folder));
    EXPECT_EQ(L"CurrentUser", ReadString(HKEY_CURRENT_USER, kAppKey, L"InstallMode"));
    // Elevated (Wine's default) and as a standard user: always the user's classes.
    for (bool standardUser : {false, true}) {
        SCOPED_TRACE(standardUser ? "standard user" : "elevated");
        std::unique_ptr<CStandardUserSeam> seam(standardUser ? new CStandardUserSeam : nullptr);
        ASSERT_TRUE(SetExtensionInSettings(folder, false));
        EXPECT_EQ(L"", OurKeysIn(HKEY_CURRENT_USER));
        ASSERT_TRUE(SetExtensionInSettings(folder, true));
        EXPECT_TRUE(HandlersIn(HKEY_CURRENT_USER));
        EXPECT_EQ(folder + L"\\QLTC_WS.dll", ReadString(HKEY_CURRENT_USER, kClasses + kDllPathValues[0]));
        EXPECT_EQ(L"", OurKeysIn(HKEY_LOCAL_MACHINE));
    }

    // What an older Settings dialog did: the user's DLL registered for the
    // machine as well. Removing that needs rights, so without them the
    // uninstaller changes nothing.
    ASSERT_EQ(0, RunAndWait(L"regsvr32.exe /s \"" + folder + L"\\QLTC_WS.dll\""));
    {
        CStandardUserSeam seam;
        EXPECT_EQ(740, RunQuietUninstall(HKEY_CURRENT_USER));
    }
    EXPECT_TRUE(PathExists(folder + L"\\Quillet.exe"));
    EXPECT_TRUE(HandlersIn(HKEY_LOCAL_MACHINE));

    // The registered command returns once everything is done, with the
    // uninstaller's status; both hives are clean of this copy.
    EXPECT_EQ(0, RunQuietUninstall(HKEY_CURRENT_USER));
    for (const wchar_t* file : {L"Quillet.exe", L"QLTC.exe", L"QLTC_WS.dll"})
        EXPECT_FALSE(PathExists(folder + L"\\" + file)) << file;
    EXPECT_EQ(L"", DanglingRegistrations());
    EXPECT_TRUE(WaitFor([&] { return !PathExists(folder); }, 10000));
    ExpectNothingLeft(folder);
    EXPECT_EQ(2u, ReadDword(HKEY_CURRENT_USER, kSettingsKey, L"Format"));
}

TEST_F(Installer, PerMachineCopyRegistersOnlyForTheMachineAndAsksForRights) {
    const std::wstring folder = Folder(L"Machine");
    ASSERT_EQ(0, RunSetup(L"/AllUsers", folder));
    EXPECT_EQ(L"AllUsers", ReadString(HKEY_LOCAL_MACHINE, kAppKey, L"InstallMode"));
    // A stale registration of this user's: ticking the box drops it.
    ASSERT_EQ(0, RunAndWait(L"regsvr32.exe /s /n /i:user \"" + folder + L"\\QLTC_WS.dll\""));
    ASSERT_TRUE(SetExtensionInSettings(folder, false));
    EXPECT_EQ(L"", OurKeysIn(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(L"", OurKeysIn(HKEY_CURRENT_USER));
    {
        // Without rights both steps go through an elevated regsvr32.
        CStandardUserSeam seam;
        ASSERT_TRUE(SetExtensionInSettings(folder, true));
        EXPECT_TRUE(HandlersIn(HKEY_LOCAL_MACHINE));
        EXPECT_EQ(L"", OurKeysIn(HKEY_CURRENT_USER));
        ASSERT_TRUE(SetExtensionInSettings(folder, false));
        EXPECT_EQ(L"", OurKeysIn(HKEY_LOCAL_MACHINE));
    }
    ASSERT_TRUE(SetExtensionInSettings(folder, true));
    EXPECT_EQ(folder + L"\\QLTC_WS.dll", ReadString(HKEY_LOCAL_MACHINE, kClasses + kDllPathValues[0]));
    EXPECT_EQ(L"", OurKeysIn(HKEY_CURRENT_USER));

    {
        CStandardUserSeam seam;
        EXPECT_EQ(740, RunQuietUninstall(HKEY_LOCAL_MACHINE));
        EXPECT_TRUE(PathExists(folder + L"\\QLTC_WS.dll"));
        EXPECT_TRUE(HandlersIn(HKEY_LOCAL_MACHINE));
    }
    EXPECT_EQ(0, RunQuietUninstall(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(L"", DanglingRegistrations());
    EXPECT_TRUE(WaitFor([&] { return !PathExists(folder); }, 10000));
    ExpectNothingLeft(folder);
}

TEST_F(Installer, ExitStatusesTellWhatWasNotDone) {
    // The setup asks for no rights; for everyone without them it stops at once.
    const std::string manifest = ManifestOf(SetupPath());
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\"")) << manifest;
    const std::wstring folder = Folder(L"Busy");
    {
        CStandardUserSeam seam;
        EXPECT_EQ(740, RunSetup(L"/AllUsers", folder));
        EXPECT_FALSE(PathExists(folder));
        ASSERT_EQ(0, RunSetup(L"/CurrentUser", folder));
    }
    ExpectInstalled(folder, false);
    EXPECT_NE(std::string::npos, ManifestOf(folder + L"\\Uninstall.exe").find("level=\"asInvoker\""));

    // A file held open (as Explorer holds its DLL) goes at the next restart.
    const std::wstring busy = folder + L"\\Quillet.exe";
    HANDLE held = CreateFileW(busy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(3010, RunQuietUninstall(HKEY_CURRENT_USER));
    CloseHandle(held);
    EXPECT_FALSE(PathExists(folder + L"\\QLTC_WS.dll"));
    EXPECT_EQ(L"", OurKeysIn(HKEY_CURRENT_USER));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
    DeleteFileW(busy.c_str());
    DeleteFileW((folder + L"\\Uninstall.exe").c_str());
    RemoveDirectoryW(folder.c_str());
}
