#pragma once
// Classes: PresetFilter, a named filter string ("Text Files", "*.txt").
#include <string>

struct PresetFilter {
    std::wstring Name;
    std::wstring Filter;

    bool operator==(const PresetFilter&) const = default;
};
