#pragma once
// Where the folder menu's filter items come from: the presets the program
// stored under "Filters", or the built-in table when none is usable.
#include "IRegistryReader.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qlshell {

struct PresetFilter {
    std::wstring name;    // shown as "Convert <name>"
    std::wstring filter;  // handed to the program with -filter
};

struct DefaultFilterRow {
    const wchar_t* name;
    const wchar_t* filter;
};

// The 20 built-in rows, in menu order.
std::span<const DefaultFilterRow> GetDefaultFilters();

// The most stored presets ever read. Menu offsets travel as 16-bit numbers, so
// more items could never be invoked, and a damaged "Count" must not keep
// Explorer busy opening billions of keys.
constexpr uint32_t kMaxStoredPresets = 0xFFFE;

// Reads "Filters\Count" and the subkeys "01", "02", ... "99", "100", ...
// An entry whose subkey does not open or whose "Name" or "Filter" is not an
// acceptable string (see RegistryValues.h) is skipped. Empty when the key,
// "Count" or every entry is missing. At most `maxEntries` subkeys are opened
// (and kMaxStoredPresets at most in any case), so the number of items the
// menu has room for also bounds the work a damaged "Count" can cause.
std::vector<PresetFilter> LoadPresetFilters(IRegistryReader& registry, uint32_t maxEntries = kMaxStoredPresets);

// The first `maxRows` rows of the built-in table as presets.
std::vector<PresetFilter> LoadDefaultFilters(uint32_t maxRows = kMaxStoredPresets);

// "%02d" of `number`: "01" ... "99", "100", ...
std::wstring PresetSubKeyName(uint32_t number);

}  // namespace qlshell
