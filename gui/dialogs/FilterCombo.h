#pragma once
// Functions: the filter combo box, a CExtComboBox with an edit field in which
// the user either types a filter string ("*.h;*.cpp") or picks one of the
// preset filters. Every dialog that asks for a filter uses these three calls:
//
// In the owning dialog (a CFrameDlg or any CDialog):
//
//     m_filterText = initial filter;              // e.g. the "DefaultFilter" setting
//     OnInitDialog():  CDialog::OnInitDialog();   // DDX puts m_filterText into the edit field
//                      m_filter.Subclass(GetDlgItem(IDC_FILTER));
//                      FillFilterCombo(m_filter, presets, m_filterText, showFirstWhenEmpty);
//     OnCommand(id, code, ...):
//                      if (id == IDC_FILTER && code == CBN_SELCHANGE)
//                          OnFilterComboSelChange(m_filter, presets);
//     OnOK():          m_filterText = GetFilterComboResult(m_filter, presets);
//
// `presets` is the application's preset list (CAppSettings::m_presets). Each
// item's data word is the index of its preset in that list, not a pointer: a
// pointer into the vector would dangle as soon as the list grows or is reset.
// The list must stay as it was between filling and reading (the combo is
// filled once, when its dialog opens); an index outside the list is ignored.
#include "CExtComboBox.h"
#include "PresetFilter.h"

#include <string>
#include <vector>

// Inserts one item per preset, in list order, with the text "Name (Filter)",
// no image, and the preset's index as data. With showFirstWhenEmpty set and
// an empty initialFilter, the edit field is set to the first preset's filter
// (the folder dialogs do this); with it clear an empty filter stays empty (the
// Settings dialog). Call it after the initial filter text is in the edit field.
void FillFilterCombo(const CExtComboBox& combo, const std::vector<PresetFilter>& presets,
                     const std::wstring& initialFilter, bool showFirstWhenEmpty);

// The owning dialog's CBN_SELCHANGE handler for the combo: puts the selected
// preset's bare filter string into the edit field. Without a selection it does
// nothing.
void OnFilterComboSelChange(const CExtComboBox& combo, const std::vector<PresetFilter>& presets);

// What the dialog takes from the combo when OK is pressed: the edit field's
// text, unchanged, except that a text equal to an item's display text
// ("Name (Filter)") gives that preset's filter string. Wine's combo box puts
// the display text into the edit field when the selection moves with the
// arrow keys, and sends no CBN_SELCHANGE; the result is a filter either way.
std::wstring GetFilterComboResult(const CExtComboBox& combo, const std::vector<PresetFilter>& presets);
