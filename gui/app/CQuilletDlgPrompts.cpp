// CQuilletDlg: the folder dialogs that Add Folder, dropped folders and
// command-line folders open.
#include "CQuilletDlg.h"

bool CQuilletDlg::PromptForFolder(std::wstring&, std::wstring&, bool&)
{
    return false;
}

bool CQuilletDlg::PromptForFolders(const std::vector<std::wstring>&, std::wstring&, bool&)
{
    return false;
}
