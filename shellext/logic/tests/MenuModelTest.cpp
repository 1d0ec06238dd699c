#include "ContextMenuLogic.h"
#include "FilterSource.h"
#include "MemoryRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace qlshell;

namespace {

std::vector<std::wstring> Texts(const std::vector<CMenuItem>& items) {
    std::vector<std::wstring> texts;
    for (const CMenuItem& item : items) texts.push_back(item.isSeparator ? L"-" : item.text);
    return texts;
}

std::wstring HelpW(const CContextMenuLogic& logic, uintptr_t offset, uint32_t cchMax = 1024) {
    std::vector<wchar_t> buffer(cchMax + 1, L'#');
    EXPECT_EQ(logic.GetCommandString(offset, kCommandStringHelpTextW, buffer.data(), cchMax, {}), kResultOk);
    return buffer.data();
}

void SelectFolder(CContextMenuLogic& logic) {
    logic.BeginSelection(1);
    logic.AddSelectedPath(L"C:\\src", [](const std::wstring&) { return true; });
}

}  // namespace

TEST(MenuModelTest, FileVariantHasFourCommandsAndASeparator) {
    CMemoryRegistry registry;
    CContextMenuLogic logic(registry);
    EXPECT_EQ(logic.GetCommandCount(), 0u);
    std::vector<CMenuItem> items = logic.BuildMenu();  // an empty selection counts as files
    EXPECT_EQ(Texts(items), (std::vector<std::wstring>{L"Convert to CRLF Format", L"Convert to CR Format",
                                                       L"Convert to LF Format", L"-", L"Convert Later..."}));
    EXPECT_EQ(items[4].offset, 3u);
    EXPECT_EQ(logic.GetCommandCount(), 4u);
    EXPECT_EQ(HelpW(logic, 1), L"Convert line endings for selected files to CR format.");
    EXPECT_EQ(HelpW(logic, 3), L"Add selected files/folders to the file list, and convert them later.");
}

TEST(MenuModelTest, FolderVariantUsesStoredPresetsWithConsecutiveOffsets) {
    CMemoryRegistry registry;
    registry.SetDword(L"Filters", L"Count", 3);
    registry.SetString(L"Filters\\01", L"Name", L"Sources");
    registry.SetString(L"Filters\\01", L"Filter", L"*.c;*.h");
    registry.SetString(L"Filters\\03", L"Name", L"");
    registry.SetString(L"Filters\\03", L"Filter", L"*.md");
    CContextMenuLogic logic(registry);
    SelectFolder(logic);

    std::vector<CMenuItem> items = logic.BuildMenu();
    EXPECT_EQ(Texts(items), (std::vector<std::wstring>{L"Convert Sources", L"Convert ", L"-", L"Custom Filter..."}));
    EXPECT_EQ(items[1].offset, 1u);
    EXPECT_EQ(items[3].offset, 2u);
    EXPECT_EQ(logic.GetCommandCount(), 3u);
    EXPECT_EQ(HelpW(logic, 1), L"Convert line endings for the files matched: *.md .  Hold 'Ctrl' to scan subfolders.");
    EXPECT_EQ(HelpW(logic, 2), L"Convert line endings for the files matched your custom filter.");
    EXPECT_EQ(logic.Menu().ActionFor(1)->filter, L"*.md");
    EXPECT_EQ(logic.Menu().ActionFor(2)->filter, std::nullopt);
    EXPECT_EQ(logic.Menu().ActionFor(3), std::nullopt);

    // Without usable presets the built-in table is used: 20 filters and "Custom Filter...".
    registry.DeleteKey(L"Filters");
    items = logic.BuildMenu();
    EXPECT_EQ(logic.GetCommandCount(), 21u);
    EXPECT_EQ(items[0].text, L"Convert C/C++ Files");
    EXPECT_TRUE(items[20].isSeparator);
    EXPECT_EQ(items[21].offset, 20u);
    EXPECT_EQ(logic.Menu().FilterPatterns().GetCount(), 20);
    EXPECT_EQ(HelpW(logic, 17), L"Convert line endings for the files matched: *.txt .  Hold 'Ctrl' to scan subfolders.");
    EXPECT_EQ(logic.Menu().ActionFor(0)->format, kFormatNone);
}

TEST(MenuModelTest, CommandStringRequestsAndBufferCuts) {
    CMemoryRegistry registry;
    CContextMenuLogic logic(registry);
    logic.BuildMenu();
    char narrow[64];
    wchar_t wide[64];

    EXPECT_EQ(logic.GetCommandString(4, kCommandStringHelpTextW, wide, 64, {}), kResultInvalidArgument);
    EXPECT_EQ(logic.GetCommandString(0, kCommandStringVerbW, wide, 64, {}), kResultInvalidArgument);
    EXPECT_EQ(logic.GetCommandString(0, kCommandStringVerbA, narrow, 64, {}), kResultInvalidArgument);
    EXPECT_EQ(logic.GetCommandString(0, kCommandStringValidateW, nullptr, 0, {}), kResultOk);
    EXPECT_EQ(logic.GetCommandString(0, kCommandStringValidateA, nullptr, 0, {}), kResultOk);

    EXPECT_EQ(HelpW(logic, 0, 10), L"Convert l");
    wide[0] = L'#';
    EXPECT_EQ(logic.GetCommandString(0, kCommandStringHelpTextW, wide, 0, {}), kResultOk);
    EXPECT_EQ(wide[0], L'#');  // cchMax 0 writes nothing

    // The glue's converter stands in for WideCharToMultiByte; here every
    // character above 0x7F becomes two bytes, as in a double-byte code page.
    AnsiConverter doubleByte = [](std::wstring_view text) {
        std::string bytes;
        for (wchar_t c : text) {
            if (c > 0x7F) bytes += "\x81";
            bytes += static_cast<char>(c > 0x7F ? 0x40 : c);
        }
        return std::optional<std::string>(bytes);
    };
    EXPECT_EQ(logic.GetCommandString(0, kCommandStringHelpTextA, narrow, 10, doubleByte), kResultOk);
    EXPECT_STREQ(narrow, "Convert l");

    std::memset(narrow, '#', sizeof narrow);
    CopyHelpTextA(L"ab\u00e9c", narrow, 4, doubleByte);  // "ab" + 2 bytes would need 5
    EXPECT_STREQ(narrow, "ab");
    CopyHelpTextA(L"text", narrow, 8, [](std::wstring_view) { return std::optional<std::string>(); });
    EXPECT_STREQ(narrow, "");

    // A surrogate pair is never cut in half.
    const std::wstring pair = {L'a', wchar_t(0xD83D), wchar_t(0xDE00)};
    CopyHelpTextW(pair, wide, 3);
    EXPECT_EQ(std::wstring(wide), L"a");
}

TEST(MenuModelTest, CommandsStayWithinTheIdentifierRangeExplorerGives) {
    EXPECT_EQ(CommandIdsAvailable(100, 109), 10u);
    EXPECT_EQ(CommandIdsAvailable(100, 100), 1u);
    EXPECT_EQ(CommandIdsAvailable(100, 99), 0u);
    EXPECT_EQ(CommandIdsAvailable(0, UINT32_MAX), UINT32_MAX);

    CMemoryRegistry registry;
    registry.SetDword(L"Filters", L"Count", 5000);
    for (uint32_t n = 1; n <= 5000; ++n) {
        registry.SetString(L"Filters\\" + PresetSubKeyName(n), L"Name", L"P" + std::to_wstring(n));
        registry.SetString(L"Filters\\" + PresetSubKeyName(n), L"Filter", L"*." + std::to_wstring(n));
    }
    CContextMenuLogic logic(registry);
    SelectFolder(logic);

    // Ten identifiers: nine presets and "Custom Filter...", which always keeps its place.
    const int opensBefore = registry.OpensSoFar();
    std::vector<CMenuItem> items = logic.BuildMenu(10);
    EXPECT_EQ(logic.GetCommandCount(), 10u);
    for (const CMenuItem& item : items) EXPECT_LT(item.offset, 10u);
    EXPECT_EQ(items[8].text, L"Convert P9");
    EXPECT_EQ(items.back().text, L"Custom Filter...");
    EXPECT_EQ(items.back().offset, 9u);
    EXPECT_EQ(logic.Menu().ActionFor(9)->filter, std::nullopt);
    // "Filters" and at most one subkey per identifier, however large "Count" is.
    EXPECT_LE(registry.OpensSoFar() - opensBefore, 11);

    // The built-in table is cut the same way when no preset is stored.
    registry.DeleteKey(L"Filters");
    items = logic.BuildMenu(3);
    EXPECT_EQ(Texts(items), (std::vector<std::wstring>{L"Convert C/C++ Files", L"Convert CMake Files", L"-",
                                                       L"Custom Filter..."}));
    items = logic.BuildMenu(1);
    EXPECT_EQ(Texts(items), (std::vector<std::wstring>{L"-", L"Custom Filter..."}));
    EXPECT_EQ(items.back().offset, 0u);

    // No room at all, or not for the four file commands: no menu and no commands.
    EXPECT_TRUE(logic.BuildMenu(0).empty());
    EXPECT_EQ(logic.GetCommandCount(), 0u);
    EXPECT_EQ(logic.Menu().ActionFor(0), std::nullopt);
    CContextMenuLogic files(registry);
    EXPECT_TRUE(files.BuildMenu(3).empty());
    EXPECT_EQ(files.GetCommandCount(), 0u);
    EXPECT_EQ(files.BuildMenu(4).size(), 5u);
}
