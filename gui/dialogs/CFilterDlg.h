#pragma once
// Classes: CFilterDlg, the Filter dialog that edits one preset's name and
// filter string; EditPresetFilter runs it.
#include "CDialog.h"

#include <string>

class CFilterDlg : public CDialog {
public:
    CFilterDlg(bool addMode, std::wstring name, std::wstring filter);

    const std::wstring& Name() const { return m_name; }
    const std::wstring& Filter() const { return m_filter; }

    static constexpr wchar_t kEmptyFieldMessage[] = L"Please enter name and filter!";

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    // Both texts are taken exactly as typed; an empty one keeps the dialog open.
    void OnOK() override;

private:
    bool m_addMode;
    std::wstring m_name;
    std::wstring m_filter;
};

// Runs the Filter dialog over `parent`: in add mode with empty fields and the
// title "Add Filter", else with the given texts. Returns IDOK or IDCANCEL; on
// IDOK `name` and `filter` hold the entered texts.
INT_PTR EditPresetFilter(HWND parent, bool addMode, std::wstring& name, std::wstring& filter);
