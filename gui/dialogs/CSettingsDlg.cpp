#include "CSettingsDlg.h"

#include "COEFileDialog.h"
#include "CShellExtInstaller.h"
#include "FilterCombo.h"
#include "resource.h"

CSettingsDlg::CSettingsDlg(CAppSettings& settings)
    : CDialog(IDD_SETTINGS), m_settings(settings), m_defaultFilter(settings.m_defaultFilter),
      m_fileViewer(settings.m_fileViewer)
{
}

bool CSettingsDlg::OnInitDialog()
{
    m_filterCombo.Subclass(GetDlgItem(IDC_DEFAULT_FILTER));
    bool result = CDialog::OnInitDialog();
    m_installed = CShellExtInstaller().IsInstalled() != 0 ? 1 : 0;
    // An empty default filter stays empty here: it means "no default".
    FillFilterCombo(m_filterCombo, m_settings.m_presets, m_defaultFilter, false);
    UpdateData(false);
    return result;
}

void CSettingsDlg::DoDataExchange(CDataExchange& dx)
{
    if (dx.IsSaving())
        m_defaultFilter = GetFilterComboResult(m_filterCombo, m_settings.m_presets);
    else
        m_filterCombo.SetEditText(m_defaultFilter);
    dx.Text(IDC_FILE_VIEWER, m_fileViewer);
    dx.Check(IDC_SHELL_EXTENSION, m_installed);
}

bool CSettingsDlg::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_DEFAULT_FILTER && code == CBN_SELCHANGE) {
        OnFilterComboSelChange(m_filterCombo, m_settings.m_presets);
        return true;
    }
    if (id == IDC_BROWSE_VIEWER && code == BN_CLICKED) {
        OnBrowse();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CSettingsDlg::OnBrowse()
{
    CWindow viewer = GetDlgItem(IDC_FILE_VIEWER);
    std::wstring current = viewer.GetText();
    COEFileDialog dialog(true, nullptr, current.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ALLOWMULTISELECT,
                         kBrowseFilter, m_hWnd);
    dialog.SetTitle(kBrowseTitle);
    if (dialog.DoModal() != IDOK)
        return;
    // One program: the first full path, also when several names were chosen
    // (the selection then starts with the folder, which is no program).
    size_t position = dialog.GetStartPosition();
    if (position == 0)
        return;
    viewer.SetText(dialog.GetNextPathName(position));
}

void CSettingsDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    m_settings.m_defaultFilter = m_defaultFilter;
    m_settings.m_fileViewer = m_fileViewer;
    // Every OK, changed or not: the box shows what the user wants now.
    CShellExtInstaller installer;
    if (m_installed == BST_CHECKED)
        installer.Install();
    else
        installer.Uninstall();
    EndDialog(IDOK);
}

void ShowSettingsDialog(CAppSettings& settings, HWND owner)
{
    CSettingsDlg dlg(settings);
    dlg.DoModal(owner);
}
