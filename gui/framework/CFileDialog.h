#pragma once
// Classes: CFileDialog, the common Open/Save dialog. The chosen paths are read
// back path by path (GetStartPosition/GetNextPathName, or Paths()); with
// OFN_ALLOWMULTISELECT the explorer-style "folder\0name\0name\0\0" buffer is
// split into full paths.
#include <windows.h>
#include <commdlg.h>
#include <string>
#include <vector>

class CFileDialog {
public:
    static constexpr size_t kDefaultBufferChars = MAX_PATH;

    // filter uses "|" between its parts ("Text (*.txt)|*.txt||"). bufferChars
    // is the size of the file-name buffer, terminator included.
    CFileDialog(bool open, const wchar_t* defaultExt, const wchar_t* fileName, DWORD flags, const wchar_t* filter,
                HWND parent, size_t bufferChars = kDefaultBufferChars);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    void SetTitle(const std::wstring& title);
    void SetInitialDir(const std::wstring& folder);
    // The structure handed to the system; adjust fields before DoModal.
    OPENFILENAMEW& Ofn() { return m_ofn; }
    const wchar_t* Buffer() const { return m_buffer.data(); }
    size_t BufferChars() const { return m_buffer.size(); }

    // IDOK or IDCANCEL; after IDCANCEL, CommDlgError() tells a failure from a cancel.
    virtual INT_PTR DoModal();
    DWORD CommDlgError() const { return m_error; }

    const std::vector<std::wstring>& Paths() const { return m_paths; }
    std::wstring GetPathName() const { return m_paths.empty() ? std::wstring() : m_paths.front(); }
    // 0 means no (more) paths.
    size_t GetStartPosition() const { return m_paths.empty() ? 0 : 1; }
    std::wstring GetNextPathName(size_t& position) const;

    // Splits a returned buffer of `size` characters into full paths.
    static std::vector<std::wstring> SplitSelection(const wchar_t* buffer, size_t size, bool multiSelect);

private:
    bool m_open;
    std::wstring m_filter;
    std::wstring m_defaultExt;
    std::wstring m_title;
    std::wstring m_initialDir;
    std::vector<wchar_t> m_buffer;
    OPENFILENAMEW m_ofn{};
    DWORD m_error = 0;
    std::vector<std::wstring> m_paths;
};
