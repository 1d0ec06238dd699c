#include "FilterSource.h"
#include "MemoryRegistry.h"
#include "RegistryValues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qlshell;

namespace {

std::vector<uint8_t> Bytes(const std::wstring& text) { return CMemoryRegistry::Utf16Bytes(text); }

std::optional<std::wstring> Read(CMemoryRegistry& registry, const wchar_t* name, uint32_t bufferBytes) {
    std::unique_ptr<IRegistryKey> key = registry.OpenAppKey(L"k");
    return ReadRegistryString(*key, name, bufferBytes);
}

void StorePreset(CMemoryRegistry& registry, uint32_t number, const std::wstring& name, const std::wstring& filter) {
    const std::wstring key = L"Filters\\" + PresetSubKeyName(number);
    registry.SetString(key, L"Name", name);
    registry.SetString(key, L"Filter", filter);
}

}  // namespace

TEST(RegistryValuesTest, StringAcceptanceRules) {
    CMemoryRegistry registry;
    registry.SetString(L"k", L"sz", L"abc");
    registry.SetString(L"k", L"expand", L"%TEMP%", kRegExpandSz);
    registry.SetValue(L"k", L"multi", kRegMultiSz, Bytes(std::wstring(L"one\0two\0\0", 9)));
    registry.SetValue(L"k", L"multiOneZero", kRegMultiSz, Bytes(std::wstring(L"one\0", 4)));
    registry.SetString(L"k", L"empty", L"");
    registry.SetValue(L"k", L"noData", kRegSz, {});
    registry.SetValue(L"k", L"noTerminator", kRegSz, Bytes(L"abc"));
    auto odd = Bytes(std::wstring(L"ab\0", 3));
    odd.push_back(0);
    registry.SetValue(L"k", L"oddSize", kRegSz, odd);
    registry.SetValue(L"k", L"binary", kRegBinary, Bytes(std::wstring(L"ab\0", 3)));
    registry.SetDword(L"k", L"dword", 7);
    registry.SetValue(L"k", L"embedded", kRegSz, Bytes(std::wstring(L"ab\0cd\0", 6)));

    EXPECT_EQ(Read(registry, L"sz", 255), L"abc");
    EXPECT_EQ(Read(registry, L"expand", 255), L"%TEMP%");  // used unexpanded
    EXPECT_EQ(Read(registry, L"multi", 255), L"one");
    EXPECT_EQ(Read(registry, L"multiOneZero", 255), std::nullopt);
    EXPECT_EQ(Read(registry, L"empty", 255), L"");
    EXPECT_EQ(Read(registry, L"embedded", 255), L"ab");
    for (const wchar_t* missing : {L"noData", L"noTerminator", L"oddSize", L"binary", L"dword", L"absent"}) {
        EXPECT_EQ(Read(registry, missing, 255), std::nullopt) << missing;
    }

    // The 255-byte buffer holds 126 characters and the terminator; the
    // 1,023-byte one holds 510.
    registry.SetString(L"k", L"126", std::wstring(126, L'n'));
    registry.SetString(L"k", L"127", std::wstring(127, L'n'));
    registry.SetString(L"k", L"510", std::wstring(510, L'f'));
    registry.SetString(L"k", L"511", std::wstring(511, L'f'));
    EXPECT_EQ(Read(registry, L"126", kNameBufferBytes)->size(), 126u);
    EXPECT_EQ(Read(registry, L"127", kNameBufferBytes), std::nullopt);
    EXPECT_EQ(Read(registry, L"510", kLongStringBufferBytes)->size(), 510u);
    EXPECT_EQ(Read(registry, L"511", kLongStringBufferBytes), std::nullopt);

    std::unique_ptr<IRegistryKey> key = registry.OpenAppKey(L"k");
    EXPECT_EQ(ReadRegistryDword(*key, L"dword"), 7u);
    registry.SetValue(L"k", L"shortDword", kRegDword, {1, 0});
    registry.SetString(L"k", L"textNumber", L"3");
    EXPECT_EQ(ReadRegistryDword(*key, L"shortDword"), std::nullopt);
    EXPECT_EQ(ReadRegistryDword(*key, L"textNumber"), std::nullopt);
}

TEST(FilterSourceTest, SkipsUnusableEntriesAndReadsBeyondNinetyNine) {
    CMemoryRegistry registry;
    EXPECT_TRUE(LoadPresetFilters(registry).empty());  // no Filters key

    registry.SetDword(L"Filters", L"Count", 3);
    StorePreset(registry, 1, L"One", L"*.1");
    StorePreset(registry, 3, L"Three", L"*.3");
    std::vector<PresetFilter> presets = LoadPresetFilters(registry);
    ASSERT_EQ(presets.size(), 2u);
    EXPECT_EQ(presets[0].name, L"One");
    EXPECT_EQ(presets[1].filter, L"*.3");

    // A too-long name or filter, or a missing value, skips only that entry.
    registry.SetDword(L"Filters", L"Count", 6);
    StorePreset(registry, 4, std::wstring(127, L'n'), L"*.4");
    StorePreset(registry, 5, L"Five", std::wstring(511, L'f'));
    StorePreset(registry, 6, L"", std::wstring(510, L'f'));
    registry.DeleteValue(L"Filters\\03", L"Filter");
    presets = LoadPresetFilters(registry);
    ASSERT_EQ(presets.size(), 2u);
    EXPECT_EQ(presets[1].name, L"");
    EXPECT_EQ(presets[1].filter.size(), 510u);
    EXPECT_EQ(registry.OpenKeyCount(), 0);

    EXPECT_EQ(PresetSubKeyName(7), L"07");
    EXPECT_EQ(PresetSubKeyName(100), L"100");
    registry.DeleteKey(L"Filters");
    registry.SetDword(L"Filters", L"Count", 100);
    StorePreset(registry, 100, L"Hundred", L"*.100");
    presets = LoadPresetFilters(registry);
    ASSERT_EQ(presets.size(), 1u);
    EXPECT_EQ(presets[0].name, L"Hundred");
}

TEST(FilterSourceTest, CountMustBeAUsableDword) {
    CMemoryRegistry registry;
    StorePreset(registry, 1, L"One", L"*.1");
    registry.SetString(L"Filters", L"Count", L"1");
    EXPECT_TRUE(LoadPresetFilters(registry).empty());
    registry.SetDword(L"Filters", L"Count", 0);
    EXPECT_TRUE(LoadPresetFilters(registry).empty());

    // A damaged count is bounded instead of opening four billion keys.
    registry.SetDword(L"Filters", L"Count", 0xFFFFFFFF);
    EXPECT_EQ(LoadPresetFilters(registry).size(), 1u);
}

TEST(FilterSourceTest, DefaultTableHasTwentyRowsInMenuOrder) {
    auto rows = GetDefaultFilters();
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_STREQ(rows[0].name, L"C/C++ Files");
    EXPECT_STREQ(rows[0].filter, L"*.c;*.cpp;*.cxx;*.cc;*.h;*.hpp;*.hxx;*.inl");
    EXPECT_STREQ(rows[17].filter, L"*.txt");
    EXPECT_STREQ(rows[19].name, L"All Files");
    EXPECT_STREQ(rows[19].filter, L"*");
    EXPECT_EQ(LoadDefaultFilters().size(), 20u);
}
