#include "FileNameEdit.h"

#include <initializer_list>

namespace {
bool IsEdit(HWND window)
{
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    return ::lstrcmpiW(className, L"Edit") == 0;
}

BOOL CALLBACK FirstEdit(HWND child, LPARAM found)
{
    if (!IsEdit(child))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}
}

HWND FileNameEdit(HWND fileDialog)
{
    for (int id : {0x47C /* cmb13 */, 0x480 /* edt1 */}) {
        HWND control = ::GetDlgItem(fileDialog, id);
        if (!control)
            continue;
        if (IsEdit(control))
            return control;
        HWND edit = nullptr;
        ::EnumChildWindows(control, FirstEdit, reinterpret_cast<LPARAM>(&edit));
        if (edit)
            return edit;
    }
    return nullptr;
}
