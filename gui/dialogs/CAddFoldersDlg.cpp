#include "CAddFoldersDlg.h"

#include "FilterCombo.h"
#include "resource.h"

#include <shellapi.h>

namespace {
// The small system icon for a folder or file name; -1 when the shell has
// none. One attribute read tells a folder from a file; the shell is then asked
// by those attributes alone (SHGFI_USEFILEATTRIBUTES), so it opens nothing to
// find the icon and a path that has gone still gets the plain file icon.
int SmallIconFor(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    const bool directory = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    SHFILEINFOW info{};
    if (!::SHGetFileInfoW(path.c_str(), directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info,
                          sizeof(info), SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON))
        return -1;
    return info.iIcon;
}
}

CAddFoldersDlg::CAddFoldersDlg(CAppSettings& settings, CImageListHandle smallImages)
    : CDialog(IDD_ADD_FOLDERS), m_settings(settings), m_smallImages(smallImages)
{
}

bool CAddFoldersDlg::OnInitDialog()
{
    bool result = CDialog::OnInitDialog();
    m_list.Subclass(GetDlgItem(IDC_FOLDER_LIST));
    m_list.SetExtendedStyle(static_cast<DWORD>(-1), LVS_EX_INFOTIP);
    // Shared: the list was made with LVS_SHAREIMAGELISTS and never destroys it.
    m_list.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_smallImages.Handle()));
    FillFolderList();

    m_filterCombo.Subclass(GetDlgItem(IDC_FOLDER_FILTER_COMBO));
    m_filterCombo.SetEditText(m_filterText);
    FillFilterCombo(m_filterCombo, m_settings.m_presets, m_filterText, true);
    return result;
}

void CAddFoldersDlg::FillFolderList() const
{
    int index = 0;
    for (const std::wstring& folder : m_folders) {
        if (m_list.InsertItem(index, folder, SmallIconFor(folder)) >= 0)
            ++index;
    }
}

void CAddFoldersDlg::DoDataExchange(CDataExchange& dx)
{
    dx.Check(IDC_FOLDER_SCAN_SUBFOLDERS, m_scanSubfolders);
}

bool CAddFoldersDlg::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_FOLDER_FILTER_COMBO && code == CBN_SELCHANGE) {
        OnFilterComboSelChange(m_filterCombo, m_settings.m_presets);
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

bool CAddFoldersDlg::OnNotify(NMHDR* header, LRESULT& result)
{
    // The list only shows what will be added: no label editing.
    if (header->idFrom == IDC_FOLDER_LIST && header->code == LVN_BEGINLABELEDITW) {
        result = TRUE;
        return true;
    }
    return CDialog::OnNotify(header, result);
}

void CAddFoldersDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    m_filterText = GetFilterComboResult(m_filterCombo, m_settings.m_presets);
    m_settings.m_lastFilter = m_filterText;
    m_settings.m_scanSubfolders = m_scanSubfolders;
    EndDialog(IDOK);
}
