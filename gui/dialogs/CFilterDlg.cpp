#include "CFilterDlg.h"

#include "CApplication.h"
#include "resource.h"

CFilterDlg::CFilterDlg(bool addMode, std::wstring name, std::wstring filter)
    : CDialog(IDD_FILTER), m_addMode(addMode), m_name(addMode ? std::wstring() : std::move(name)),
      m_filter(addMode ? std::wstring() : std::move(filter))
{
}

bool CFilterDlg::OnInitDialog()
{
    bool result = CDialog::OnInitDialog();
    if (m_addMode)
        SetText(L"Add Filter");
    return result;
}

void CFilterDlg::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_PRESET_NAME, m_name);
    dx.Text(IDC_PRESET_FILTER, m_filter);
}

void CFilterDlg::OnOK()
{
    std::wstring name = GetDlgItem(IDC_PRESET_NAME).GetText();
    std::wstring filter = GetDlgItem(IDC_PRESET_FILTER).GetText();
    if (name.empty() || filter.empty()) {
        CApplication* app = CApplication::Current();
        std::wstring title = app ? app->AppName() : std::wstring();
        ::MessageBoxW(m_hWnd, kEmptyFieldMessage, title.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_name = std::move(name);
    m_filter = std::move(filter);
    EndDialog(IDOK);
}

INT_PTR EditPresetFilter(HWND parent, bool addMode, std::wstring& name, std::wstring& filter)
{
    CFilterDlg dlg(addMode, name, filter);
    INT_PTR result = dlg.DoModal(parent);
    if (result != IDOK)
        return IDCANCEL;
    name = dlg.Name();
    filter = dlg.Filter();
    return IDOK;
}
