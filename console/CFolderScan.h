#pragma once
// Walks one folder, and with subfolders the whole tree below it, handing every
// file that the filter accepts to a callback, in the order the file system
// lists the entries; a subfolder's files come where the subfolder is met.
// Folders on the current descent (by identity, so links and junctions count)
// are not entered again, which keeps a link back to an ancestor from looping.
#include <functional>
#include <string>
#include <vector>

#include "FileNameFilter.h"
#include "fs/IFileSystem.h"

class CFolderScan {
public:
    using FileFound = std::function<void(const std::wstring& path)>;

    CFolderScan(qlfs::IFileSystem& fs, const std::wstring& filter, bool scanSubfolders,
                FileFound onFile);
    CFolderScan(const CFolderScan&) = delete;
    CFolderScan& operator=(const CFolderScan&) = delete;

    // A folder that cannot be listed contributes nothing.
    void Scan(const std::wstring& folder);

private:
    void ScanAbsolute(const std::wstring& folder);
    bool EnterFolder(const std::wstring& folder);

    qlfs::IFileSystem& m_fs;
    CFileNameFilter m_filter;
    bool m_scanSubfolders;
    FileFound m_onFile;
    std::vector<qlfs::FolderId> m_descent;  // folders being scanned, outermost first
};
