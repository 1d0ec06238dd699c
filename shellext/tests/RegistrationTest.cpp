// regsvr32 against the built DLL, then the registry read back: machine-wide,
// per user ("user" in any case) and the almost misses that register machine-wide.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "QLTC_WS_h.h"
#include "TestSupport.h"

using namespace qltest;

namespace {

const std::wstring kClsid = L"{2492AC56-FE65-4047-A46F-FC1A61024BE6}";
const std::wstring kLibid = L"{03782278-608B-47A9-848C-55DCD5443AB5}";
const std::wstring kIid = L"{6CB3B6CF-1832-4FF3-9C33-1F3B6595E64C}";
const std::wstring kAppId = L"{876DE289-B18E-448D-857C-E44090D67CC0}";
const std::wstring kClasses = L"Software\\Classes\\";
const std::wstring kFileHandlers = L"*\\ShellEx\\ContextMenuHandlers";
const std::wstring kFolderHandlers = L"Folder\\ShellEx\\ContextMenuHandlers";

// Every key the two scripts write (without the type library and proxy keys).
const std::wstring kScriptKeys[] = {
    L"AppID\\" + kAppId, L"AppID\\QLTC_WS.DLL", L"Varnel.Quillet.SCM.1", L"Varnel.Quillet.SCM",
    L"CLSID\\" + kClsid, kFileHandlers + L"\\Varnel.Quillet", kFolderHandlers + L"\\Varnel.Quillet"};

int Regsvr32(const std::wstring& switches) {
    return RunAndWait(L"regsvr32.exe /s " + switches + L" \"" + ServerPath() + L"\"");
}

std::wstring DumpOurs(HKEY root) {
    std::wstring out;
    for (const std::wstring& key : kScriptKeys)
        out += DumpTree(root, kClasses + key);
    return out;
}

void ExpectScriptKeys(HKEY root) {
    const std::wstring base = kClasses;
    EXPECT_EQ(L"QLTC_WS", ReadString(root, base + L"AppID\\" + kAppId));
    EXPECT_EQ(kAppId, ReadString(root, base + L"AppID\\QLTC_WS.DLL", L"AppID"));
    EXPECT_EQ(L"Quillet.SCM", ReadString(root, base + L"Varnel.Quillet.SCM.1"));
    EXPECT_EQ(kClsid, ReadString(root, base + L"Varnel.Quillet.SCM.1\\CLSID"));
    EXPECT_EQ(L"Quillet.SCM", ReadString(root, base + L"Varnel.Quillet.SCM"));
    EXPECT_EQ(kClsid, ReadString(root, base + L"Varnel.Quillet.SCM\\CLSID"));
    EXPECT_EQ(L"Varnel.Quillet.SCM.1", ReadString(root, base + L"Varnel.Quillet.SCM\\CurVer"));
    const std::wstring server = base + L"CLSID\\" + kClsid;
    EXPECT_EQ(L"Quillet.SCM", ReadString(root, server));
    EXPECT_EQ(L"Varnel.Quillet.SCM.1", ReadString(root, server + L"\\ProgID"));
    EXPECT_EQ(L"Varnel.Quillet.SCM", ReadString(root, server + L"\\VersionIndependentProgID"));
    EXPECT_TRUE(KeyExists(root, server + L"\\Programmable"));
    EXPECT_EQ(ServerPath(), ReadString(root, server + L"\\InprocServer32"));
    EXPECT_EQ(L"Apartment", ReadString(root, server + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_EQ(kLibid, ReadString(root, server + L"\\TypeLib"));
    EXPECT_EQ(kClsid, ReadString(root, base + kFileHandlers + L"\\Varnel.Quillet"));
    EXPECT_EQ(kClsid, ReadString(root, base + kFolderHandlers + L"\\Varnel.Quillet"));
}

void ExpectNoScriptKeys(HKEY root) {
    for (const std::wstring& key : kScriptKeys)
        EXPECT_FALSE(KeyExists(root, kClasses + key)) << key;
}

class Registration : public testing::Test {
protected:
    void SetUp() override { Regsvr32(L"/u"); }
    void TearDown() override {
        Regsvr32(L"/u");
        Regsvr32(L"/u /n /i:user");
    }
};

} // namespace

TEST_F(Registration, MachineRegistrationWritesBothScriptsAndRemovalKeepsSharedKeys) {
    ASSERT_EQ(0, Regsvr32(L""));
    ExpectScriptKeys(HKEY_LOCAL_MACHINE);
    ExpectNoScriptKeys(HKEY_CURRENT_USER);
    // Type library and the merged proxy/stub, whose class ID is the interface's IID.
    EXPECT_EQ(L"QLTC_WS 1.0 Type Library", ReadString(HKEY_CLASSES_ROOT, L"TypeLib\\" + kLibid + L"\\1.0"));
    EXPECT_EQ(ServerPath(), ReadString(HKEY_CLASSES_ROOT, L"TypeLib\\" + kLibid + L"\\1.0\\0\\win64"));
    EXPECT_EQ(kIid, ReadString(HKEY_CLASSES_ROOT, L"Interface\\" + kIid + L"\\ProxyStubClsid32"));
    EXPECT_EQ(ServerPath(), ReadString(HKEY_CLASSES_ROOT, L"CLSID\\" + kIid + L"\\InprocServer32"));

    // What the registration says is enough for COM to create the handler.
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IContextMenu* menu = nullptr;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_MyContextMenu, nullptr, CLSCTX_INPROC_SERVER, IID_IContextMenu,
                                     reinterpret_cast<void**>(&menu)));
    if (menu != nullptr)
        menu->Release();
    CoUninitialize();

    const std::wstring once = DumpOurs(HKEY_LOCAL_MACHINE);
    WriteString(HKEY_LOCAL_MACHINE, kClasses + L"CLSID\\" + kClsid + L"\\Stale", L"", L"x");
    ASSERT_EQ(0, Regsvr32(L""));
    EXPECT_EQ(once, DumpOurs(HKEY_LOCAL_MACHINE)); // ForceRemove rewrote the class key whole

    ASSERT_EQ(0, Regsvr32(L"/u"));
    ExpectNoScriptKeys(HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kFileHandlers));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kFolderHandlers));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"AppID"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\" + kLibid));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" + kIid));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + kIid));
    // Removing again finds nothing to remove and still succeeds.
    EXPECT_EQ(0, Regsvr32(L"/u"));
}

TEST_F(Registration, UserCommandLineRegistersUnderTheUsersClasses) {
    for (const wchar_t* user : {L"user", L"USER"}) {
        SCOPED_TRACE(user[0] == L'u' ? "user" : "USER");
        ASSERT_EQ(0, Regsvr32(std::wstring(L"/n /i:") + user));
        ExpectScriptKeys(HKEY_CURRENT_USER);
        ExpectNoScriptKeys(HKEY_LOCAL_MACHINE);
        ASSERT_EQ(0, Regsvr32(std::wstring(L"/u /n /i:") + user));
        ExpectNoScriptKeys(HKEY_CURRENT_USER);
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Classes"));
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kClasses + kFolderHandlers));
    }
}

TEST_F(Registration, PerUserRegistrationKeepsTypeLibraryAndProxyOutOfTheMachineHive) {
    // Keys that the type library and the proxy/stub registration write.
    const std::wstring systemKeys[] = {L"TypeLib\\" + kLibid, L"Interface\\" + kIid, L"CLSID\\" + kIid};
    ASSERT_EQ(0, Regsvr32(L"/n /i:user"));
    for (const std::wstring& key : systemKeys) {
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kClasses + key)) << key;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + key)) << key;
    }
    // The system's type library routine also writes the 32-bit view, past any
    // redirection of the classes root: none of that may reach the machine.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + L"Wow6432Node\\Interface\\" + kIid));
    EXPECT_EQ(L"IMyContextMenu", ReadString(HKEY_CURRENT_USER, kClasses + L"Interface\\" + kIid));
    EXPECT_EQ(kLibid, ReadString(HKEY_CURRENT_USER, kClasses + L"Interface\\" + kIid + L"\\TypeLib"));
    EXPECT_EQ(L"QLTC_WS 1.0 Type Library", ReadString(HKEY_CURRENT_USER, kClasses + L"TypeLib\\" + kLibid + L"\\1.0"));
    EXPECT_EQ(ServerPath(), ReadString(HKEY_CURRENT_USER, kClasses + L"CLSID\\" + kIid + L"\\InprocServer32"));
    EXPECT_EQ(ServerPath(), ReadString(HKEY_CURRENT_USER, kClasses + L"TypeLib\\" + kLibid + L"\\1.0\\0\\win64"));

    ASSERT_EQ(0, Regsvr32(L"/u /n /i:user"));
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        ExpectNoScriptKeys(root);
        for (const std::wstring& key : systemKeys)
            EXPECT_FALSE(KeyExists(root, kClasses + key)) << key;
    }
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kClasses + L"Interface"));
}

TEST_F(Registration, CommandLinesThatOnlyStartWithUserRegisterMachineWide) {
    for (const wchar_t* almost : {L"users", L"user1"}) {
        ASSERT_EQ(0, Regsvr32(std::wstring(L"/n /i:") + almost));
        ExpectScriptKeys(HKEY_LOCAL_MACHINE);
        ExpectNoScriptKeys(HKEY_CURRENT_USER);
        ASSERT_EQ(0, Regsvr32(std::wstring(L"/u /n /i:") + almost));
        ExpectNoScriptKeys(HKEY_LOCAL_MACHINE);
    }
}
