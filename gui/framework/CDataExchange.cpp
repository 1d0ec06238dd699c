#include "CDataExchange.h"

#include "CWindow.h"

#include <cwchar>
#include <cerrno>
#include <climits>

void CDataExchange::Text(int id, std::wstring& value)
{
    CWindow control(Control(id));
    if (m_saving)
        value = control.GetText();
    else
        control.SetText(value);
}

void CDataExchange::Text(int id, int& value)
{
    CWindow control(Control(id));
    if (!m_saving) {
        control.SetText(std::to_wstring(value));
        return;
    }
    std::wstring text = control.GetText();
    wchar_t* end = nullptr;
    errno = 0;
    long long parsed = std::wcstoll(text.c_str(), &end, 10);
    while (end && (*end == L' ' || *end == L'\t'))
        ++end;
    if (text.empty() || !end || *end != L'\0' || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) {
        ::MessageBoxW(m_dialog, L"Please enter an integer.", nullptr, MB_OK | MB_ICONEXCLAMATION);
        Fail(id);
        return;
    }
    value = static_cast<int>(parsed);
}

void CDataExchange::Check(int id, int& value)
{
    if (m_saving)
        value = static_cast<int>(::IsDlgButtonChecked(m_dialog, id));
    else
        ::CheckDlgButton(m_dialog, id, static_cast<UINT>(value));
}

void CDataExchange::ComboIndex(int id, int& value)
{
    CWindow control(Control(id));
    if (m_saving)
        value = static_cast<int>(control.SendMessage(CB_GETCURSEL));
    else
        control.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(value));
}

void CDataExchange::Radio(int id, int& value)
{
    HWND button = Control(id);
    int index = 0;
    if (m_saving)
        value = -1;
    // Walk the group: from the first button to the next control with WS_GROUP.
    while (button) {
        bool isRadio = (::SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
        if (isRadio) {
            if (m_saving && ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
            else if (!m_saving)
                ::SendMessageW(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            ++index;
        }
        button = ::GetWindow(button, GW_HWNDNEXT);
        if (button && (::GetWindowLongPtrW(button, GWL_STYLE) & WS_GROUP))
            break;
    }
}

void CDataExchange::Fail(int id)
{
    m_failed = true;
    if (HWND control = Control(id))
        ::SetFocus(control);
}
