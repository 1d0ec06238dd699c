#include "CAppSettings.h"
#include "CMemoryProfileStore.h"
#include "DefaultFilterTable.h"
#include "UsageText.h"

#include <gtest/gtest.h>

namespace {
const std::wstring S = L"Settings";

int Int(const CMemoryProfileStore& store, const std::wstring& section, const std::wstring& entry)
{
    return store.GetInt(section, entry, -12345);
}
std::wstring Str(const CMemoryProfileStore& store, const std::wstring& section, const std::wstring& entry)
{
    return store.GetString(section, entry, L"<absent>");
}
}

TEST(CAppSettings, FirstStartWritesEveryValueAndTheDefaultPresets)
{
    CMemoryProfileStore store;
    CAppSettings settings;
    ASSERT_EQ(settings.LoadSettings(store), 0);
    ASSERT_EQ(settings.m_presets, DefaultFilterTable());
    ASSERT_EQ(settings.SaveSettings(store), 0);

    EXPECT_EQ(Int(store, S, L"KeepTimestamps"), 0);
    EXPECT_EQ(Int(store, S, L"KeepAttributes"), 1);
    EXPECT_EQ(Int(store, S, L"ConvertReadOnlys"), 1);
    EXPECT_EQ(Int(store, S, L"BackupOriginal"), 0);
    EXPECT_EQ(Str(store, S, L"DefaultFilter"), L"");
    EXPECT_EQ(Str(store, S, L"FileViewer"), L"");
    EXPECT_EQ(Int(store, S, L"AlwaysOnTop"), 0);
    EXPECT_EQ(Int(store, S, L"AutoClose"), 0);
    EXPECT_EQ(Int(store, S, L"Format"), 0);
    EXPECT_EQ(Str(store, S, L"LastFolder"), L"");
    EXPECT_EQ(Str(store, S, L"LastFilter"), L"");
    EXPECT_EQ(Int(store, S, L"ScanSubfolders"), 1);
    EXPECT_EQ(Int(store, L"Filters", L"Count"), 20);
    EXPECT_EQ(Str(store, L"Filters\\01", L"Name"), L"C/C++ Files");
    EXPECT_EQ(Str(store, L"Filters\\01", L"Filter"), L"*.c;*.cpp;*.cxx;*.cc;*.h;*.hpp;*.hxx;*.inl");
    EXPECT_EQ(Str(store, L"Filters\\20", L"Name"), L"All Files");
    EXPECT_EQ(Str(store, L"Filters\\20", L"Filter"), L"*");
    EXPECT_EQ(store.m_values.size(), 12u + 1u + 40u) << "nothing else is written";
}

TEST(CAppSettings, StoredValuesAreReadAndFlagsWrittenBackAsZeroOrOne)
{
    CMemoryProfileStore store;
    store.m_values[{S, L"KeepTimestamps"}] = 7;
    store.m_values[{S, L"KeepAttributes"}] = 0;
    store.m_values[{S, L"AlwaysOnTop"}] = -1;
    store.m_values[{S, L"Format"}] = 2;
    store.m_values[{S, L"LastFolder"}] = std::wstring(L"C:\\work");
    store.m_values[{S, L"ScanSubfolders"}] = std::wstring(L"not a number");
    CAppSettings settings;
    settings.LoadSettings(store);
    EXPECT_NE(settings.m_keepTimestamps, 0);
    EXPECT_EQ(settings.m_keepAttributes, 0);
    EXPECT_EQ(settings.m_format, 2);
    EXPECT_EQ(settings.m_lastFolder, L"C:\\work");
    EXPECT_EQ(settings.m_scanSubfolders, 1) << "a value of the wrong type leaves the default";

    settings.SaveSettings(store);
    EXPECT_EQ(Int(store, S, L"KeepTimestamps"), 1);
    EXPECT_EQ(Int(store, S, L"KeepAttributes"), 0);
    EXPECT_EQ(Int(store, S, L"AlwaysOnTop"), 1);
    EXPECT_EQ(Int(store, S, L"Format"), 2);
    EXPECT_EQ(Int(store, S, L"ScanSubfolders"), 1);
}

TEST(CAppSettings, UnknownStoredFormatFallsBackToCrlf)
{
    for (int stored : {3, -1, 1000}) {
        CMemoryProfileStore store;
        store.m_values[{S, L"Format"}] = stored;
        CAppSettings settings;
        settings.LoadSettings(store);
        EXPECT_EQ(settings.m_format, 0) << stored;
    }
}

TEST(CAppSettings, PresetReadingStopsAtTheFirstIncompleteEntry)
{
    CMemoryProfileStore store;
    store.m_values[{L"Filters", L"Count"}] = 3;
    store.m_values[{L"Filters\\01", L"Name"}] = std::wstring(L"Mine");
    store.m_values[{L"Filters\\01", L"Filter"}] = std::wstring(L"*.mine");
    store.m_values[{L"Filters\\02", L"Name"}] = std::wstring(L"Half");
    store.m_values[{L"Filters\\03", L"Name"}] = std::wstring(L"Third");
    store.m_values[{L"Filters\\03", L"Filter"}] = std::wstring(L"*.3");
    CAppSettings settings;
    settings.LoadSettings(store);
    ASSERT_EQ(settings.m_presets, (std::vector<PresetFilter>{{L"Mine", L"*.mine"}}));

    settings.SaveSettings(store);
    EXPECT_EQ(Int(store, L"Filters", L"Count"), 1);
    EXPECT_EQ(Str(store, L"Filters\\02", L"Name"), L"Half") << "entries above the count stay untouched";
    EXPECT_FALSE(store.Has(L"Filters\\02", L"Filter"));
    EXPECT_EQ(Str(store, L"Filters\\03", L"Filter"), L"*.3");
}

TEST(CAppSettings, NoUsablePresetsGiveTheDefaultTable)
{
    for (int count : {0, -5}) {
        CMemoryProfileStore store;
        store.m_values[{L"Filters", L"Count"}] = count;
        store.m_values[{L"Filters\\01", L"Name"}] = std::wstring(L"Ignored");
        store.m_values[{L"Filters\\01", L"Filter"}] = std::wstring(L"*.x");
        CAppSettings settings;
        settings.LoadSettings(store);
        EXPECT_EQ(settings.m_presets.size(), 20u) << count;
    }
    CMemoryProfileStore firstIncomplete;
    firstIncomplete.m_values[{L"Filters", L"Count"}] = 2;
    firstIncomplete.m_values[{L"Filters\\01", L"Filter"}] = std::wstring(L"*.x");
    CAppSettings settings;
    settings.LoadSettings(firstIncomplete);
    EXPECT_EQ(settings.m_presets, DefaultFilterTable());
}

TEST(CAppSettings, PresetSectionsPastNinetyNineUseThreeDigits)
{
    CAppSettings settings;
    for (int i = 1; i <= 100; ++i)
        settings.m_presets.push_back({L"P" + std::to_wstring(i), L"*." + std::to_wstring(i)});
    CMemoryProfileStore store;
    ASSERT_TRUE(settings.WritePresetFilters(store));
    EXPECT_EQ(Str(store, L"Filters\\09", L"Name"), L"P9");
    EXPECT_EQ(Str(store, L"Filters\\100", L"Filter"), L"*.100");

    CAppSettings reread;
    reread.ReadPresetFilters(store);
    EXPECT_EQ(reread.m_presets, settings.m_presets);
}

TEST(CAppSettings, SavingBeforeLoadingLeavesTheStoreAlone)
{
    CMemoryProfileStore store;
    store.m_values[{L"Filters", L"Count"}] = 1;
    store.m_values[{S, L"Format"}] = 2;
    CAppSettings settings;
    EXPECT_EQ(settings.SaveSettings(store), 0);
    EXPECT_EQ(store.m_writes, 0);
    EXPECT_EQ(Int(store, S, L"Format"), 2);
}

TEST(CAppSettings, FailedWritesAreReported)
{
    CMemoryProfileStore store;
    CAppSettings settings;
    settings.LoadSettings(store);
    store.m_failWrites = true;
    EXPECT_EQ(settings.SaveSettings(store), -1);
}

TEST(CAppSettings, FileDialogFilterListsEveryPresetThenEndsWithTwoBars)
{
    CAppSettings settings;
    settings.ResetPresetFilters();
    std::wstring filter = settings.BuildFileDialogFilter();
    EXPECT_EQ(filter.rfind(L"C/C++ Files (*.c;*.cpp;*.cxx;*.cc;*.h;*.hpp;*.hxx;*.inl)|*.c;*.cpp;*.cxx;*.cc;*.h;*.hpp;"
                           L"*.hxx;*.inl|CMake Files (*.cmake)|*.cmake|",
                           0),
              0u);
    EXPECT_TRUE(filter.ends_with(L"|Text Files (*.txt)|*.txt|XML Files (*.xml;*.xsml;*.xsl;*.xsd;*.kml;*.wsdl)|"
                                 L"*.xml;*.xsml;*.xsl;*.xsd;*.kml;*.wsdl|All Files (*)|*||"));

    settings.m_presets.clear();
    EXPECT_EQ(settings.BuildFileDialogFilter(), L"|");

    // A "|" in a name or a filter would split the type list in the wrong
    // places: such presets are left out of it, and stay in the list.
    settings.m_presets = {{L"A|B", L"*.a"}, {L"Text", L"*.txt"}, {L"Pipe", L"*.x|*.y"}, {L"C", L"*.c"}};
    EXPECT_EQ(settings.BuildFileDialogFilter(), L"Text (*.txt)|*.txt|C (*.c)|*.c||");
    EXPECT_EQ(settings.m_presets.size(), 4u);
}

TEST(UsageText, HasEveryLineInOrder)
{
    std::wstring text = UsageText();
    EXPECT_EQ(text.rfind(L"Usage:\nQuillet -format <format> [-filter <filter>]", 0), 0u);
    size_t filterLine = text.find(L"  File filter string, example: \"*.h;*.cpp\" .\n");
    size_t lastLine = text.find(L"  -ac:  Automatically close the program when finished.\n");
    ASSERT_NE(filterLine, std::wstring::npos);
    ASSERT_NE(lastLine, std::wstring::npos);
    EXPECT_LT(filterLine, lastLine);
    EXPECT_TRUE(text.ends_with(L"when finished.\n"));
}
