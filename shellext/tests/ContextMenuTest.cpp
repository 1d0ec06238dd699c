// The handler's menus built into real HMENUs and read back, and its help texts.
#include "HandlerFixture.h"

#include "CDropDataObject.h"

using namespace qltest;

namespace {

const wchar_t kFilters[] = L"Software\\Varnel\\Quillet\\Filters";

std::wstring FolderHelp(const std::wstring& filter) {
    return L"Convert line endings for the files matched: " + filter + L" .  Hold 'Ctrl' to scan subfolders.";
}

} // namespace

TEST_F(HandlerFixture, FileSelectionGivesFourCommandsTheirHelpAndTheImage) {
    ASSERT_EQ(S_OK, Initialize({Scratch().AddFile(L"a.txt"), Scratch().AddFile(L"b.txt")}));
    EXPECT_EQ(MAKE_HRESULT(SEVERITY_SUCCESS, 0, 4), Query());
    const std::vector<CMenuEntry> expected = {{L"Convert to CRLF Format", 100},
                                              {L"Convert to CR Format", 101},
                                              {L"Convert to LF Format", 102},
                                              {L"", 0, true},
                                              {L"Convert Later...", 103}};
    EXPECT_EQ(expected, Submenu());

    wchar_t text[64] = {};
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_CHECKMARKS;
    item.dwTypeData = text;
    item.cch = ARRAYSIZE(text);
    ASSERT_TRUE(GetMenuItemInfoW(m_hmenu, 0, TRUE, &item));
    EXPECT_STREQ(L"Quillet", text);
    EXPECT_NE(nullptr, item.hSubMenu);
    EXPECT_NE(nullptr, item.hbmpUnchecked);
    EXPECT_EQ(item.hbmpChecked, item.hbmpUnchecked);
    EXPECT_EQ(2, GetMenuItemCount(m_hmenu)); // the submenu went in front of "Open"

    EXPECT_EQ(L"Convert line endings for selected files to CRLF format.", HelpTextW(0));
    EXPECT_EQ(L"Convert line endings for selected files to LF format.", HelpTextW(2));
    EXPECT_EQ(L"Add selected files/folders to the file list, and convert them later.", HelpTextW(3));
    EXPECT_EQ(L"Convert l", HelpTextW(0, 10));
    char ansi[80] = {};
    EXPECT_EQ(S_OK, m_menu->GetCommandString(1, GCS_HELPTEXTA, nullptr, ansi, sizeof(ansi)));
    EXPECT_STREQ("Convert line endings for selected files to CR format.", ansi);
    EXPECT_EQ(S_OK, m_menu->GetCommandString(1, GCS_VALIDATEW, nullptr, nullptr, 0));
    EXPECT_EQ(E_INVALIDARG, m_menu->GetCommandString(1, GCS_VERBW, nullptr, ansi, 40));
    EXPECT_EQ(E_INVALIDARG, m_menu->GetCommandString(4, GCS_HELPTEXTW, nullptr, ansi, 40));

    // Default-only menus get nothing, and the last build stays in force.
    EXPECT_EQ(MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0), Query(CMF_DEFAULTONLY));
    EXPECT_EQ(1, GetMenuItemCount(m_hmenu));
    EXPECT_EQ(L"Add selected files/folders to the file list, and convert them later.", HelpTextW(3));
}

TEST_F(HandlerFixture, FolderSelectionOffersTheBuiltInFiltersThenStoredPresets) {
    ASSERT_EQ(S_OK, Initialize({Scratch().AddFile(L"a.txt"), Scratch().AddFolder(L"src")}));
    EXPECT_EQ(MAKE_HRESULT(SEVERITY_SUCCESS, 0, 21), Query());
    std::vector<CMenuEntry> items = Submenu();
    ASSERT_EQ(22u, items.size());
    EXPECT_EQ((CMenuEntry{L"Convert C/C++ Files", 100}), items[0]);
    EXPECT_EQ((CMenuEntry{L"Convert All Files", 119}), items[19]);
    EXPECT_TRUE(items[20].separator);
    EXPECT_EQ((CMenuEntry{L"Custom Filter...", 120}), items[21]);
    EXPECT_EQ(FolderHelp(L"*.txt"), HelpTextW(17));
    EXPECT_EQ(L"Convert line endings for the files matched your custom filter.", HelpTextW(20));

    // Count 3 with "02" missing: two items on consecutive identifiers.
    WriteDword(HKEY_CURRENT_USER, kFilters, L"Count", 3);
    WriteString(HKEY_CURRENT_USER, std::wstring(kFilters) + L"\\01", L"Name", L"Docs");
    WriteString(HKEY_CURRENT_USER, std::wstring(kFilters) + L"\\01", L"Filter", L"*.md;*.rst");
    WriteString(HKEY_CURRENT_USER, std::wstring(kFilters) + L"\\03", L"Name", L"");
    WriteString(HKEY_CURRENT_USER, std::wstring(kFilters) + L"\\03", L"Filter", L"*.ini", REG_EXPAND_SZ);
    EXPECT_EQ(MAKE_HRESULT(SEVERITY_SUCCESS, 0, 3), Query());
    const std::vector<CMenuEntry> stored = {
        {L"Convert Docs", 100}, {L"Convert ", 101}, {L"", 0, true}, {L"Custom Filter...", 102}};
    EXPECT_EQ(stored, Submenu());
    EXPECT_EQ(FolderHelp(L"*.ini"), HelpTextW(1));
    EXPECT_EQ(L"<failed>", HelpTextW(3));
}

TEST_F(HandlerFixture, InitializeNeedsADropListAndKeepsTheSelectionOtherwise) {
    EXPECT_EQ(E_INVALIDARG, m_init->Initialize(nullptr, nullptr, nullptr));
    ASSERT_EQ(S_OK, Initialize({Scratch().AddFolder(L"src")}));
    IDataObject* refusing = CDropDataObject::Create({Scratch().AddFile(L"a.txt")}, false);
    EXPECT_EQ(E_INVALIDARG, m_init->Initialize(nullptr, refusing, nullptr));
    refusing->Release();
    EXPECT_EQ(MAKE_HRESULT(SEVERITY_SUCCESS, 0, 21), Query()); // still the folder selection

    ASSERT_EQ(S_OK, Initialize({}));
    EXPECT_EQ(MAKE_HRESULT(SEVERITY_SUCCESS, 0, 4), Query()); // an empty list shows the file commands
}

TEST_F(HandlerFixture, ManyStoredPresetsStayInsideANarrowIdentifierRange) {
    WriteDword(HKEY_CURRENT_USER, kFilters, L"Count", 5000);
    HKEY filters = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kFilters, 0, KEY_ALL_ACCESS, &filters));
    for (int n = 1; n <= 5000; ++n) {
        wchar_t name[16] = {};
        swprintf(name, ARRAYSIZE(name), L"%02d", n);
        const std::wstring text = L"P" + std::to_wstring(n);
        RegSetKeyValueW(filters, name, L"Name", REG_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
        RegSetKeyValueW(filters, name, L"Filter", REG_SZ, L"*.txt", DWORD(6 * sizeof(wchar_t)));
    }
    RegCloseKey(filters);
    ASSERT_EQ(S_OK, Initialize({Scratch().AddFolder(L"src")}));

    // Explorer leaves 31 identifiers, 100..130: 30 presets and "Custom Filter...".
    EXPECT_EQ(MAKE_HRESULT(SEVERITY_SUCCESS, 0, 31), Query(CMF_NORMAL, kFirstId + 30));
    const std::vector<CMenuEntry> items = Submenu();
    ASSERT_EQ(32u, items.size());
    for (const CMenuEntry& item : items) {
        if (!item.separator) {
            EXPECT_GE(item.id, kFirstId);
            EXPECT_LE(item.id, kFirstId + 30);
        }
    }
    EXPECT_EQ((CMenuEntry{L"Convert P30", kFirstId + 29}), items[29]);
    EXPECT_EQ((CMenuEntry{L"Custom Filter...", kFirstId + 30}), items[31]);
    EXPECT_EQ(L"Convert line endings for the files matched your custom filter.", HelpTextW(30));
    EXPECT_EQ(L"<failed>", HelpTextW(31));

    // Too few identifiers for the file commands: no submenu at all.
    ASSERT_EQ(S_OK, Initialize({Scratch().AddFile(L"a.txt")}));
    EXPECT_EQ(MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0), Query(CMF_NORMAL, kFirstId + 2));
    EXPECT_EQ(1, GetMenuItemCount(m_hmenu));
}
