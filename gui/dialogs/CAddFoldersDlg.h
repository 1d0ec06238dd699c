#pragma once
// Classes: CAddFoldersDlg, the "Add Folders" dialog (template 533): it lists
// the folders about to be added (read-only, with their system icons) and asks
// once for the filter and the scan flag for all of them. The caller fills
// m_folders, m_filterText and m_scanSubfolders, runs DoModal and, on IDOK,
// adds every folder in order with the returned filter and flag. OK also
// stores "LastFilter" and "ScanSubfolders" in the settings.
#include "CAppSettings.h"
#include "CExtComboBox.h"
#include "CDialog.h"
#include "CImageListHandle.h"
#include "CListView.h"

#include <string>
#include <vector>

class CAddFoldersDlg : public CDialog {
public:
    static constexpr UINT kTemplateId = 533;

    // smallImages: the system's small-icon list, shared (never destroyed here).
    CAddFoldersDlg(CAppSettings& settings, CImageListHandle smallImages);

    std::vector<std::wstring> m_folders;  // shown in this order, never changed
    std::wstring m_filterText;            // in and out
    int m_scanSubfolders = 1;             // in and out: 0 or 1

    CListView& FolderList() { return m_list; }
    CExtComboBox& FilterCombo() { return m_filterCombo; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    void FillFolderList() const;

    CAppSettings& m_settings;
    CImageListHandle m_smallImages;
    CListView m_list;
    CExtComboBox m_filterCombo;
};
