#include "CPresetFiltersDlg.h"

#include "CFilterDlg.h"
#include "resource.h"

CPresetFiltersDlg::CPresetFiltersDlg(CAppSettings& settings) : CFrameDlg(IDD_PRESET_FILTERS), m_settings(settings) {}

bool CPresetFiltersDlg::OnInitDialog()
{
    bool result = CFrameDlg::OnInitDialog();
    m_list.Subclass(GetDlgItem(IDC_PRESET_LIST));
    const DWORD styles = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP;
    m_list.SetExtendedStyle(~DWORD{0}, styles);
    RECT client = m_list.GetClientRect();
    int filterWidth = client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL) - kNameColumnWidth;
    m_list.InsertColumnEx(0, L"Name", -1, LVCFMT_LEFT, kNameColumnWidth);
    m_list.InsertColumnEx(1, L"Filter", -1, LVCFMT_LEFT, filterWidth);
    InsertRows(m_rows.Load(m_settings.m_presets));

    AddUpdateControl(IDC_EDIT_PRESET);
    AddUpdateControl(IDC_DELETE_PRESET);
    return result;
}

void CPresetFiltersDlg::InsertRows(const std::vector<CPresetRows::Key>& keys)
{
    for (CPresetRows::Key key : keys)
        InsertRow(m_list.GetItemCount(), key);
}

void CPresetFiltersDlg::InsertRow(int index, CPresetRows::Key key)
{
    const PresetFilter* preset = m_rows.Find(key);
    if (!preset)
        return;
    int row = m_list.InsertItem(index, preset->Name, -1, static_cast<LPARAM>(key));
    if (row >= 0)
        m_list.SetItemText(row, 1, preset->Filter);
}

void CPresetFiltersDlg::ShowRow(int index, const PresetFilter& preset)
{
    m_list.SetItemText(index, 0, preset.Name);
    m_list.SetItemText(index, 1, preset.Filter);
}

CPresetRows::Key CPresetFiltersDlg::RowKey(int index) const
{
    return static_cast<CPresetRows::Key>(m_list.GetItemData(index));
}

bool CPresetFiltersDlg::OnCommand(UINT id, UINT code, HWND control)
{
    if (code != BN_CLICKED)
        return CFrameDlg::OnCommand(id, code, control);
    switch (id) {
    case IDC_ADD_PRESET:
        OnAdd();
        return true;
    case IDC_EDIT_PRESET:
        OnEdit();
        return true;
    case IDC_DELETE_PRESET:
        OnDelete();
        return true;
    case IDC_LOAD_DEFAULTS:
        OnLoadDefaults();
        return true;
    default:
        return CFrameDlg::OnCommand(id, code, control);
    }
}

bool CPresetFiltersDlg::OnNotify(NMHDR* header, LRESULT& result)
{
    if (header->idFrom == IDC_PRESET_LIST && header->code == NM_DBLCLK) {
        OnEdit();
        result = 0;
        return true;
    }
    return CFrameDlg::OnNotify(header, result);
}

bool CPresetFiltersDlg::OnUpdateCommand(CCommandState& state)
{
    if (state.m_id == IDC_EDIT_PRESET || state.m_id == IDC_DELETE_PRESET) {
        state.Enable(m_list.IsWindow() && m_list.GetSelectedCount() > 0);
        return true;
    }
    return CFrameDlg::OnUpdateCommand(state);
}

void CPresetFiltersDlg::OnAdd()
{
    std::wstring name, filter;
    if (EditPresetFilter(m_hWnd, true, name, filter) != IDOK)
        return;
    InsertRow(m_list.GetItemCount(), m_rows.Add({name, filter}));
}

void CPresetFiltersDlg::OnEdit()
{
    int row = m_list.FirstSelected();
    if (row < 0)
        return;
    CPresetRows::Key key = RowKey(row);
    const PresetFilter* preset = m_rows.Find(key);
    if (!preset)
        return;
    std::wstring name = preset->Name, filter = preset->Filter;
    if (EditPresetFilter(m_hWnd, false, name, filter) != IDOK)
        return;
    if (m_rows.Edit(key, {name, filter}))
        ShowRow(row, *m_rows.Find(key));
}

void CPresetFiltersDlg::OnDelete()
{
    int row;
    while ((row = m_list.FirstSelected()) != -1) {
        CPresetRows::Key key = RowKey(row);
        if (!m_list.DeleteItem(row))
            break;
        m_rows.Remove(key);
    }
}

void CPresetFiltersDlg::OnLoadDefaults()
{
    m_list.DeleteAllItems();
    m_settings.ResetPresetFilters();
    InsertRows(m_rows.Load(m_settings.m_presets));
    m_rows.MarkChanged();
}

void CPresetFiltersDlg::OnOK()
{
    Close();
}

void CPresetFiltersDlg::OnCancel()
{
    Close();
}

void CPresetFiltersDlg::Close()
{
    if (m_rows.Changed()) {
        std::vector<CPresetRows::Key> order;
        for (int i = 0; i < m_list.GetItemCount(); ++i)
            order.push_back(RowKey(i));
        m_settings.m_presets = m_rows.Collect(order);
    }
    EndDialog(IDOK);
}

void ShowPresetFiltersDialog(CAppSettings& settings, HWND owner)
{
    CPresetFiltersDlg dlg(settings);
    dlg.DoModal(owner);
}
