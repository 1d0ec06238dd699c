#pragma once
// Classes: CSettingsDlg, the Settings dialog: the default file filter (a
// filter combo box), the program that views text files, and whether the
// Explorer extension is installed. OK stores the two settings in memory and
// installs or removes the extension, every time. ShowSettingsDialog runs it.
#include "CAppSettings.h"
#include "CDialog.h"
#include "CExtComboBox.h"

#include <string>

class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(CAppSettings& settings);

    static constexpr wchar_t kBrowseTitle[] = L"Select a text file view program";
    static constexpr wchar_t kBrowseFilter[] = L"Exe Files (*.exe)|*.exe|All Files (*.*)|*.*||";

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override;

private:
    void OnBrowse();

    CAppSettings& m_settings;
    CExtComboBox m_filterCombo;
    std::wstring m_defaultFilter;
    std::wstring m_fileViewer;
    int m_installed = 0;
};

void ShowSettingsDialog(CAppSettings& settings, HWND owner);
