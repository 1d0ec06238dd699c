#pragma once
// Walks one folder, and with subfolders the whole tree below it, handing every
// file that the filter accepts to a callback, in the order the file system
// lists the entries; a subfolder's files come where the subfolder is met.
// Every folder is listed at most once per run, by identity (volume and index),
// so links and junctions back to an ancestor or to a folder met before neither
// loop nor list a file again.
#include <atomic>
#include <functional>
#include <string>
#include <unordered_set>

#include "FileNameFilter.h"
#include "fs/IFileSystem.h"

struct FolderIdHash {
    size_t operator()(const qlfs::FolderId& id) const
    {
        return std::hash<uint64_t>{}(id.index * 31 + id.volume);
    }
};
// The folders a run has listed already; shared by the scans of one run.
using VisitedFolders = std::unordered_set<qlfs::FolderId, FolderIdHash>;

class CFolderScan {
public:
    using FileFound = std::function<void(const std::wstring& path)>;

    CFolderScan(qlfs::IFileSystem& fs, const std::wstring& filter, bool scanSubfolders,
                VisitedFolders& visited, FileFound onFile);
    CFolderScan(const CFolderScan&) = delete;
    CFolderScan& operator=(const CFolderScan&) = delete;

    // A folder that cannot be listed, or was listed before, contributes nothing.
    void Scan(const std::wstring& folder);
    // From any thread: the scan hands over no more files and enters no more folders.
    void Stop() { m_stopped = true; }

private:
    void ScanAbsolute(const std::wstring& folder);
    bool EnterFolder(const std::wstring& folder);

    qlfs::IFileSystem& m_fs;
    CFileNameFilter m_filter;
    bool m_scanSubfolders;
    VisitedFolders& m_visited;
    FileFound m_onFile;
    std::atomic<bool> m_stopped{false};
};
