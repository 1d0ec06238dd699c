// CQuilletDlg: the folder dialogs that Add Folder, dropped folders and
// command-line folders open. Both store "LastFilter" and "ScanSubfolders"
// (Select Folder also "LastFolder") themselves when closed with OK.
#include "CQuilletDlg.h"

#include "CAddFoldersDlg.h"
#include "CSelectFolderDlg.h"

bool CQuilletDlg::PromptForFolder(std::wstring& folder, std::wstring& filter, bool& scanSubfolders)
{
    CSelectFolderDlg dialog(m_settings);
    dialog.m_title = L"Add Folder";
    dialog.m_prompt = L"Add a folder to convert:";
    dialog.m_initialFolder = m_settings.m_lastFolder;
    dialog.m_filterText = filter;
    dialog.m_scanSubfolders = scanSubfolders ? 1 : 0;
    if (dialog.DoModal(m_hWnd) != IDOK)
        return false;
    folder = dialog.m_selectedFolder;
    filter = dialog.m_filterText;
    scanSubfolders = dialog.m_scanSubfolders != 0;
    return true;
}

bool CQuilletDlg::PromptForFolders(const std::vector<std::wstring>& folders, std::wstring& filter,
                                   bool& scanSubfolders)
{
    CAddFoldersDlg dialog(m_settings, m_ui.SmallImageList());
    dialog.m_folders = folders;
    dialog.m_filterText = filter;
    dialog.m_scanSubfolders = scanSubfolders ? 1 : 0;
    if (dialog.DoModal(m_hWnd) != IDOK)
        return false;
    filter = dialog.m_filterText;
    scanSubfolders = dialog.m_scanSubfolders != 0;
    return true;
}
