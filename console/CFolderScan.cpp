#include "CFolderScan.h"

#include <algorithm>
#include <utility>

namespace {

bool EndsWithSeparator(const std::wstring& path)
{
    if (path.empty())
        return false;
    const wchar_t last = path.back();
#ifdef _WIN32
    return last == L'\\' || last == L'/';
#else
    return last == L'/';
#endif
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name)
{
    std::wstring path = folder;
    if (!EndsWithSeparator(path))
        path += qlfs::kPathSeparator;
    path += name;
    return path;
}

}  // namespace

CFolderScan::CFolderScan(qlfs::IFileSystem& fs, const std::wstring& filter, bool scanSubfolders,
                         FileFound onFile)
    : m_fs(fs), m_scanSubfolders(scanSubfolders), m_onFile(std::move(onFile))
{
    m_filter.Set(filter.c_str(), nullptr, 0);
}

void CFolderScan::Scan(const std::wstring& folder)
{
    ScanAbsolute(m_fs.FullPath(folder));
}

void CFolderScan::ScanAbsolute(const std::wstring& folder)
{
    if (!EnterFolder(folder))
        return;
    m_fs.EnumerateFolder(folder, [this, &folder](const qlfs::FolderEntry& entry) {
        const std::wstring path = JoinPath(folder, entry.name);
        // Folder names are never filtered; their files are listed right here,
        // before the rest of this folder's entries.
        if (entry.isFolder) {
            if (m_scanSubfolders)
                ScanAbsolute(path);
        } else if (m_filter.Match(entry.name)) {
            m_onFile(path);
        }
    });
    if (m_scanSubfolders)
        m_descent.pop_back();
}

// Records the folder on the current descent; false when it is already there.
// Only a descent into subfolders can come back to a folder, so a flat scan
// does not pay for the identity look-up.
bool CFolderScan::EnterFolder(const std::wstring& folder)
{
    if (!m_scanSubfolders)
        return true;
    qlfs::FolderId id;
    if (!m_fs.GetFolderId(folder, id)) {
        // Unidentifiable folders are still listed; an identity that can never
        // equal a real one keeps the descent's bookkeeping uniform.
        id = qlfs::FolderId{~uint64_t(0), m_descent.size()};
    } else if (std::find(m_descent.begin(), m_descent.end(), id) != m_descent.end()) {
        return false;
    }
    m_descent.push_back(id);
    return true;
}
