#pragma once
// Classes: COEFileDialog, the program's Open/Save dialog. With multiple
// selection it owns a selection buffer of 1,048,577 characters, so that even
// thousands of chosen files fit; the chosen paths are read back one by one
// (GetStartPosition / GetNextPathName).
#include "CFileDialog.h"

class COEFileDialog : public CFileDialog {
public:
    static constexpr size_t kSelectionBufferChars = 1048577;

    COEFileDialog(bool open, const wchar_t* defaultExt, const wchar_t* fileName, DWORD flags,
                  const wchar_t* filter, HWND parent);

    // The structure size the running system understands: the full structure
    // (with the places bar) on Windows 2000 and later, the older one before.
    static DWORD StructSize();
};
