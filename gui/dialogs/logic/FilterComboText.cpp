#include "FilterComboText.h"

std::wstring FilterComboItemText(const PresetFilter& preset)
{
    return preset.Name + L" (" + preset.Filter + L")";
}

std::wstring FilterFromComboText(const std::wstring& editText, const std::vector<PresetFilter>& presets)
{
    for (const PresetFilter& preset : presets) {
        if (FilterComboItemText(preset) == editText)
            return preset.Filter;
    }
    return editText;
}
