#pragma once
// Functions: the texts of a filter combo box, decided without any window.
// A filter combo lists the preset filters as "Name (Filter)"; what the owning
// dialog takes from it is always a filter string.
#include "PresetFilter.h"

#include <string>
#include <vector>

// The text a preset shows as a combo item: "Name (Filter)".
std::wstring FilterComboItemText(const PresetFilter& preset);

// The filter string the combo's edit text stands for. Some combo boxes (Wine's,
// when the selection moves with the arrow keys) put an item's display text
// into the edit field without telling the owner; such a text, when it equals
// an item's display text exactly, gives that preset's filter. Any other text is
// what the user typed and is returned unchanged.
std::wstring FilterFromComboText(const std::wstring& editText, const std::vector<PresetFilter>& presets);
