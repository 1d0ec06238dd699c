// The registrar, run over the extension's own two scripts and small ones.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "CMemoryRegistryStore.h"
#include "CRgsRegistrar.h"
#include "ModulePath.h"

using namespace qlcom;

namespace {

const std::wstring kClsid = L"{2492AC56-FE65-4047-A46F-FC1A61024BE6}";
const std::wstring kAppId = L"{876DE289-B18E-448D-857C-E44090D67CC0}";

std::wstring ReadScript(const char* name) {
    std::ifstream file(std::string(QL_SHELLEXT_DIR) + "/" + name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(bytes.empty()) << name;
    return std::wstring(bytes.begin(), bytes.end());
}

ComResult RunBoth(CMemoryRegistryStore& store, bool registering, bool perUser,
                  const std::wstring& module = L"C:\\Program Files\\Quillet's\\QLTC_WS.dll") {
    CRgsRegistrar registrar(store);
    registrar.SetPerUser(perUser);
    std::wstring replacement;
    EXPECT_TRUE(MakeModuleReplacement(module, replacement));
    registrar.AddReplacement(L"Module", replacement);
    registrar.AddReplacement(L"Module_Raw", replacement);
    registrar.AddReplacement(L"APPID", kAppId);
    const ComResult first = registrar.Run(ReadScript(registering ? "QLTC_WS.rgs" : "MyContextMenu.rgs"), registering);
    if (first != kResultOk)
        return first;
    return registrar.Run(ReadScript(registering ? "MyContextMenu.rgs" : "QLTC_WS.rgs"), registering);
}

} // namespace

TEST(CRgsRegistrar, ProductScriptsRegisterEveryKeyAndRemoveOnlyOurs) {
    CMemoryRegistryStore store;
    const RegRoot cr = RegRoot::ClassesRoot;
    // Foreign entries the removal must leave alone.
    store.CreateKey(cr, L"*\\ShellEx\\ContextMenuHandlers\\Other");
    store.CreateKey(cr, L"CLSID\\{OTHER}");
    ASSERT_EQ(kResultOk, RunBoth(store, true, false, L"C:\\Quillet's\\QLTC_WS.dll"));

    EXPECT_EQ(L"QLTC_WS", store.StringValue(cr, L"AppID\\" + kAppId, L""));
    EXPECT_EQ(kAppId, store.StringValue(cr, L"AppID\\QLTC_WS.DLL", L"AppID"));
    EXPECT_EQ(L"Quillet.SCM", store.StringValue(cr, L"Varnel.Quillet.SCM.1", L""));
    EXPECT_EQ(kClsid, store.StringValue(cr, L"Varnel.Quillet.SCM.1\\CLSID", L""));
    EXPECT_EQ(L"Varnel.Quillet.SCM.1", store.StringValue(cr, L"Varnel.Quillet.SCM\\CurVer", L""));
    const std::wstring server = L"CLSID\\" + kClsid;
    EXPECT_EQ(L"Quillet.SCM", store.StringValue(cr, server, L""));
    EXPECT_EQ(L"Varnel.Quillet.SCM", store.StringValue(cr, server + L"\\VersionIndependentProgID", L""));
    EXPECT_NE(nullptr, store.Find(cr, server + L"\\Programmable"));
    // The quote was doubled for the script and reads back single.
    EXPECT_EQ(L"C:\\Quillet's\\QLTC_WS.dll", store.StringValue(cr, server + L"\\InprocServer32", L""));
    EXPECT_EQ(L"Apartment", store.StringValue(cr, server + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_EQ(L"{03782278-608B-47A9-848C-55DCD5443AB5}", store.StringValue(cr, server + L"\\TypeLib", L""));
    EXPECT_EQ(kClsid, store.StringValue(cr, L"*\\ShellEx\\ContextMenuHandlers\\Varnel.Quillet", L""));
    EXPECT_EQ(kClsid, store.StringValue(cr, L"Folder\\ShellEx\\ContextMenuHandlers\\Varnel.Quillet", L""));

    const std::wstring once = store.Dump(cr);
    store.CreateKey(cr, server + L"\\Stale"); // ForceRemove rewrites the class key whole
    ASSERT_EQ(kResultOk, RunBoth(store, true, false, L"C:\\Quillet's\\QLTC_WS.dll"));
    EXPECT_EQ(once, store.Dump(cr));

    ASSERT_EQ(kResultOk, RunBoth(store, false, false));
    EXPECT_EQ(L"[]\n[\\*]\n[\\*\\shellex]\n[\\*\\shellex\\contextmenuhandlers]\n"
              L"[\\*\\shellex\\contextmenuhandlers\\other]\n[\\appid]\n[\\clsid]\n[\\clsid\\{other}]\n"
              L"[\\folder]\n[\\folder\\shellex]\n[\\folder\\shellex\\contextmenuhandlers]\n",
              store.Dump(cr));
    // Removing what is not there succeeds and changes nothing.
    const int writes = store.Writes();
    EXPECT_EQ(kResultOk, RunBoth(store, false, false));
    EXPECT_EQ(writes, store.Writes());
}

TEST(CRgsRegistrar, PerUserLandsInTheUsersClassesAndKeepsThatStore) {
    CMemoryRegistryStore machine;
    ASSERT_EQ(kResultOk, RunBoth(machine, true, false));
    CMemoryRegistryStore user;
    ASSERT_EQ(kResultOk, RunBoth(user, true, true));
    EXPECT_EQ(L"", user.Dump(RegRoot::ClassesRoot));
    const std::wstring prefix = L"[\\software\\classes";
    std::wstring expected;
    for (std::size_t start = 0, end; (end = machine.Dump(RegRoot::ClassesRoot).find(L'\n', start)) != std::wstring::npos;
         start = end + 1) {
        const std::wstring line = machine.Dump(RegRoot::ClassesRoot).substr(start, end - start + 1);
        expected += line[0] == L'[' ? prefix + (line == L"[]\n" ? L"]\n" : line.substr(1)) : line;
    }
    EXPECT_EQ(L"[]\n[\\software]\n" + expected, user.Dump(RegRoot::CurrentUser));

    ASSERT_EQ(kResultOk, RunBoth(user, false, true));
    EXPECT_NE(nullptr, user.Find(RegRoot::CurrentUser, L"Software\\Classes"));
    EXPECT_NE(nullptr, user.Find(RegRoot::CurrentUser, L"Software\\Classes\\Folder\\ShellEx\\ContextMenuHandlers"));
    EXPECT_EQ(nullptr, user.Find(RegRoot::CurrentUser, L"Software\\Classes\\Varnel.Quillet.SCM"));
}

TEST(CRgsRegistrar, StopsAtTheFirstFailureAndWritesNothingForBadScripts) {
    CMemoryRegistryStore store;
    CRgsRegistrar registrar(store);
    EXPECT_EQ(kResultBadScript, registrar.Run(L"HKCR { a = s '%MODULE%' }", true));
    EXPECT_EQ(kResultBadScript, registrar.Run(L"HKCR { a { b }", true));
    EXPECT_EQ(0, store.Writes());

    store.FailCreate(L"a\\b", 5);
    EXPECT_EQ(ResultFromWin32(5), registrar.Run(L"HKCR { a { b c } d }", true));
    EXPECT_NE(nullptr, store.Find(RegRoot::ClassesRoot, L"a"));
    EXPECT_EQ(nullptr, store.Find(RegRoot::ClassesRoot, L"d"));
}

TEST(CRgsRegistrar, SharedTreesAreNeverDeletedWhole) {
    CMemoryRegistryStore store;
    CRgsRegistrar registrar(store);
    store.CreateKey(RegRoot::ClassesRoot, L"Interface\\{X}");
    EXPECT_EQ(kResultOk, registrar.Run(L"HKCR { ForceRemove Interface Delete TypeLib Mine { Delete Interface } }", true));
    EXPECT_NE(nullptr, store.Find(RegRoot::ClassesRoot, L"Interface\\{X}"));
    store.CreateKey(RegRoot::ClassesRoot, L"TypeLib\\{Y}");
    EXPECT_EQ(kResultOk, registrar.Run(L"HKCR { Interface TypeLib ForceRemove CLSID }", false));
    EXPECT_NE(nullptr, store.Find(RegRoot::ClassesRoot, L"Interface"));
    EXPECT_NE(nullptr, store.Find(RegRoot::ClassesRoot, L"TypeLib\\{Y}"));
    EXPECT_EQ(kWin32Success, store.DeleteKey(RegRoot::ClassesRoot, L"TypeLib\\{Y}"));
    EXPECT_EQ(kResultOk, registrar.Run(L"HKCR { TypeLib Software }", false));
    EXPECT_NE(nullptr, store.Find(RegRoot::ClassesRoot, L"TypeLib"));
}

TEST(ModulePath, DoublesQuotesAndRefusesPathsBeyond259Characters) {
    std::wstring replacement;
    EXPECT_TRUE(MakeModuleReplacement(L"C:\\a'b''c.dll", replacement));
    EXPECT_EQ(L"C:\\a''b''''c.dll", replacement);
    EXPECT_TRUE(MakeModuleReplacement(std::wstring(259, L'x'), replacement));
    EXPECT_FALSE(MakeModuleReplacement(std::wstring(260, L'x'), replacement));
}
