#include "CToolBar.h"

bool CToolBar::Create(HWND parent, int id, DWORD style, const RECT& rect)
{
    if (!CreateChild(TOOLBARCLASSNAMEW, parent, id, style, 0, rect))
        return false;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return true;
}

bool CToolBar::SetButtonText(UINT id, const std::wstring& text) const
{
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT;
    info.pszText = const_cast<wchar_t*>(text.c_str());
    return SendMessage(TB_SETBUTTONINFOW, id, reinterpret_cast<LPARAM>(&info)) != FALSE;
}
