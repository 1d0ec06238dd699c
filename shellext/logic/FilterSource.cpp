#include "FilterSource.h"

#include "RegistryValues.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace qlshell {
namespace {

constexpr const wchar_t* kFiltersKey = L"Filters";
constexpr const wchar_t* kCountValue = L"Count";
constexpr const wchar_t* kNameValue = L"Name";
constexpr const wchar_t* kFilterValue = L"Filter";

// The same rows, in the same order, as the program's own default presets.
constexpr DefaultFilterRow kDefaultFilters[] = {
    {L"C/C++ Files", L"*.c;*.cpp;*.cxx;*.cc;*.h;*.hpp;*.hxx;*.inl"},
    {L"CMake Files", L"*.cmake"},
    {L"CSS Files", L"*.css"},
    {L"Diff Files", L"*.diff;*.patch"},
    {L"HTML Files", L"*.html;*.htm;*.shtml;*.shtm;*.xhtml"},
    {L"Java Files", L"*.java"},
    {L"JavaScript Files", L"*.js;*.jsp"},
    {L"Lua Files", L"*.lua"},
    {L"Makefile Files", L"*.mak"},
    {L"Pascal Files", L"*.pas;*.inc"},
    {L"Perl Files", L"*.pl;*.pm;*.plx"},
    {L"PHP Files", L"*.php;*.php3;*.phtml"},
    {L"Python Files", L"*.py;*.pyw"},
    {L"Ruby Files", L"*.rb;*.rbw"},
    {L"SQL Files", L"*.sql"},
    {L"TCL Files", L"*.tcl"},
    {L"TeX Files", L"*.tex"},
    {L"Text Files", L"*.txt"},
    {L"XML Files", L"*.xml;*.xsml;*.xsl;*.xsd;*.kml;*.wsdl"},
    {L"All Files", L"*"},
};

// "Count", closing the key before any subkey is opened.
uint32_t ReadPresetCount(IRegistryReader& registry) {
    std::unique_ptr<IRegistryKey> filters = registry.OpenAppKey(kFiltersKey);
    if (!filters) return 0;
    return ReadRegistryDword(*filters, kCountValue).value_or(0);
}

}  // namespace

std::span<const DefaultFilterRow> GetDefaultFilters() { return kDefaultFilters; }

std::wstring PresetSubKeyName(uint32_t number) {
    wchar_t text[16] = {};
    std::swprintf(text, std::size(text), L"%02u", number);
    return text;
}

std::vector<PresetFilter> LoadPresetFilters(IRegistryReader& registry, uint32_t maxEntries) {
    std::vector<PresetFilter> presets;
    if (maxEntries == 0) return presets;
    const uint32_t count = std::min({ReadPresetCount(registry), maxEntries, kMaxStoredPresets});
    for (uint32_t number = 1; number <= count; ++number) {
        std::unique_ptr<IRegistryKey> entry =
            registry.OpenAppKey(std::wstring(kFiltersKey) + L"\\" + PresetSubKeyName(number));
        if (!entry) continue;
        std::optional<std::wstring> name = ReadRegistryString(*entry, kNameValue, kNameBufferBytes);
        std::optional<std::wstring> filter =
            ReadRegistryString(*entry, kFilterValue, kLongStringBufferBytes);
        if (name && filter) presets.push_back({std::move(*name), std::move(*filter)});
    }
    return presets;
}

std::vector<PresetFilter> LoadDefaultFilters(uint32_t maxRows) {
    std::vector<PresetFilter> presets;
    for (const DefaultFilterRow& row : kDefaultFilters) {
        if (presets.size() >= maxRows) break;
        presets.push_back({row.name, row.filter});
    }
    return presets;
}

}  // namespace qlshell
