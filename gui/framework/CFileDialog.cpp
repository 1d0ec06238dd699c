#include "CFileDialog.h"

#include <algorithm>
#include <cwchar>

CFileDialog::CFileDialog(bool open, const wchar_t* defaultExt, const wchar_t* fileName, DWORD flags,
                         const wchar_t* filter, HWND parent, size_t bufferChars)
    : m_open(open), m_filter(filter ? filter : L""), m_defaultExt(defaultExt ? defaultExt : L""),
      m_buffer(std::max<size_t>(bufferChars, 2), L'\0')
{
    // The system wants the parts separated by terminators and the list ended by two.
    std::replace(m_filter.begin(), m_filter.end(), L'|', L'\0');
    m_filter.push_back(L'\0');

    if (fileName)
        wcsncpy(m_buffer.data(), fileName, m_buffer.size() - 1);

    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = parent;
    m_ofn.hInstance = ::GetModuleHandleW(nullptr);
    m_ofn.lpstrFilter = m_filter.size() > 1 ? m_filter.c_str() : nullptr;
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_buffer.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_buffer.size());
    m_ofn.lpstrDefExt = m_defaultExt.empty() ? nullptr : m_defaultExt.c_str();
    // Multiple selection returns "folder\0name\0..." only in the explorer style.
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

void CFileDialog::SetTitle(const std::wstring& title)
{
    m_title = title;
    m_ofn.lpstrTitle = m_title.empty() ? nullptr : m_title.c_str();
}

void CFileDialog::SetInitialDir(const std::wstring& folder)
{
    m_initialDir = folder;
    m_ofn.lpstrInitialDir = m_initialDir.empty() ? nullptr : m_initialDir.c_str();
}

INT_PTR CFileDialog::DoModal()
{
    m_paths.clear();
    m_error = 0;
    BOOL ok = m_open ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    if (!ok) {
        m_error = ::CommDlgExtendedError();
        return IDCANCEL;
    }
    // lpstrFile and nMaxFile may have been changed by a derived class.
    m_paths = SplitSelection(m_ofn.lpstrFile, m_ofn.nMaxFile, (m_ofn.Flags & OFN_ALLOWMULTISELECT) != 0);
    return IDOK;
}

std::wstring CFileDialog::GetNextPathName(size_t& position) const
{
    if (position == 0 || position > m_paths.size()) {
        position = 0;
        return {};
    }
    std::wstring path = m_paths[position - 1];
    position = position < m_paths.size() ? position + 1 : 0;
    return path;
}

std::vector<std::wstring> CFileDialog::SplitSelection(const wchar_t* buffer, size_t size, bool multiSelect)
{
    std::vector<std::wstring> parts;
    size_t i = 0;
    // Never read past the buffer, even if the system left it unterminated.
    while (i < size && buffer[i] != L'\0') {
        size_t start = i;
        while (i < size && buffer[i] != L'\0')
            ++i;
        parts.emplace_back(buffer + start, i - start);
        ++i;
        if (!multiSelect)
            break;
    }
    if (parts.size() <= 1)
        return parts;
    // First the folder, then the names in it.
    std::vector<std::wstring> paths;
    std::wstring folder = parts.front();
    if (folder.back() != L'\\' && folder.back() != L'/')
        folder.push_back(L'\\');
    for (size_t n = 1; n < parts.size(); ++n)
        paths.push_back(folder + parts[n]);
    return paths;
}
