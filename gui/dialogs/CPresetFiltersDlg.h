#pragma once
// Classes: CPresetFiltersDlg, the Preset Filters dialog: a list of the preset
// filters with Add, Edit, Delete and Load Defaults. The rows carry keys into
// the dialog's own copies (CPresetRows); only when something changed does
// closing the dialog replace the settings' preset list with the rows, top row
// first. ShowPresetFiltersDialog runs it.
#include "CAppSettings.h"
#include "CFrameDlg.h"
#include "CListCtrlEx.h"
#include "CPresetRows.h"

class CPresetFiltersDlg : public CFrameDlg {
public:
    explicit CPresetFiltersDlg(CAppSettings& settings);

    static constexpr int kNameColumnWidth = 120;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool OnUpdateCommand(CCommandState& state) override;
    // "Close", Escape and the close box all end here.
    void OnOK() override;
    void OnCancel() override;

private:
    void InsertRows(const std::vector<CPresetRows::Key>& keys);
    void InsertRow(int index, CPresetRows::Key key);
    void ShowRow(int index, const PresetFilter& preset);
    CPresetRows::Key RowKey(int index) const;
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnLoadDefaults();
    void Close();

    CAppSettings& m_settings;
    CListCtrlEx m_list;
    CPresetRows m_rows;
};

// Runs the Preset Filters dialog modally over `owner` on the settings' list.
void ShowPresetFiltersDialog(CAppSettings& settings, HWND owner);
