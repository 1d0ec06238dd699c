#include "CFolderScan.h"

#include <utility>

#include "PathFileName.h"

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
                         VisitedFolders& visited, FileFound onFile)
    : m_fs(fs), m_scanSubfolders(scanSubfolders), m_visited(visited), m_onFile(std::move(onFile))
{
    m_filter.Set(filter.c_str(), nullptr, 0);
}

void CFolderScan::Scan(const std::wstring& folder)
{
#ifdef _WIN32
    const bool windowsRules = true;
#else
    const bool windowsRules = false;
#endif
    // "Z:" alone would be the drive's current folder; the scan lists its root.
    const std::wstring absolute = m_fs.FullPath(IsBareDrive(folder, windowsRules) ? folder + L"\\" : folder);
    // No current folder to anchor a relative path: nothing is made up instead.
    if (!absolute.empty())
        ScanAbsolute(absolute);
}

void CFolderScan::ScanAbsolute(const std::wstring& folder)
{
    if (m_stopped || !EnterFolder(folder))
        return;
    m_fs.EnumerateFolder(folder, [this, &folder](const qlfs::FolderEntry& entry) {
        if (m_stopped)
            return;
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
}

// Records the folder as listed; false when it was listed before in this run.
// A folder without an identity is listed, since it cannot be recognised.
bool CFolderScan::EnterFolder(const std::wstring& folder)
{
    qlfs::FolderId id;
    if (!m_fs.GetFolderId(folder, id))
        return true;
    return m_visited.insert(id).second;
}
