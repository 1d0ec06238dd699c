#pragma once
// The file-name field of a common file dialog: an edit of its own (cmb13 or
// edt1), or the edit inside the file-name combo box; null when there is none.
#include <windows.h>

HWND FileNameEdit(HWND fileDialog);
