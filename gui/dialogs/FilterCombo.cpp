#include "FilterCombo.h"

#include "FilterComboText.h"

void FillFilterCombo(const CExtComboBox& combo, const std::vector<PresetFilter>& presets,
                     const std::wstring& initialFilter, bool showFirstWhenEmpty)
{
    for (size_t i = 0; i < presets.size(); ++i) {
        std::wstring text = FilterComboItemText(presets[i]);
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_LPARAM;
        item.iItem = static_cast<INT_PTR>(i);
        item.pszText = const_cast<wchar_t*>(text.c_str());
        item.lParam = static_cast<LPARAM>(i);
        combo.InsertItem(item);
        if (i == 0 && showFirstWhenEmpty && initialFilter.empty())
            combo.SetEditText(presets[0].Filter);
    }
}

void OnFilterComboSelChange(const CExtComboBox& combo, const std::vector<PresetFilter>& presets)
{
    LPARAM index = 0;
    if (!combo.GetItemData(combo.GetCurSel(), index))
        return;
    if (index >= 0 && static_cast<size_t>(index) < presets.size())
        combo.SetEditText(presets[static_cast<size_t>(index)].Filter);
}

std::wstring GetFilterComboResult(const CExtComboBox& combo, const std::vector<PresetFilter>& presets)
{
    return FilterFromComboText(combo.GetEditText(), presets);
}
