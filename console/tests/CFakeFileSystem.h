#pragma once
// An in-memory folder tree for the console's collection tests. Folders may
// appear under several names (as links and junctions do), files have no
// content: opening one fails, so every conversion through this file system
// fails. Paths use the platform separator and start with it ("/top/a.txt").
#include <string>
#include <vector>

#include "fs/IFileSystem.h"

class CFakeFileSystem final : public qlfs::IFileSystem {
public:
    CFakeFileSystem();

    // Adds a file or folder, creating the folders on its way; returns the node.
    size_t AddFile(const std::wstring& path);
    size_t AddFolder(const std::wstring& path);
    // Makes `path` a further name of the existing folder node `target`.
    void AddLink(const std::wstring& path, size_t target);

    uint32_t GetAttributes(const std::wstring& path) override;
    bool SetAttributes(const std::wstring&, uint32_t) override { return false; }
    bool Exists(const std::wstring& path) override { return Find(path) != kMissing; }
    bool IsFolder(const std::wstring& path) override;
    std::unique_ptr<qlfs::IReadFile> OpenRead(const std::wstring&) override { return nullptr; }
    std::unique_ptr<qlfs::IWriteFile> CreateWrite(const std::wstring&) override { return nullptr; }
    bool GetTimes(const std::wstring&, qlfs::FileTimes&) override { return false; }
    bool SetTimes(const std::wstring&, const qlfs::FileTimes&) override { return false; }
    bool Rename(const std::wstring&, const std::wstring&) override { return false; }
    bool Delete(const std::wstring&) override { return false; }
    bool EnumerateFolder(const std::wstring& folder,
                         const std::function<void(const qlfs::FolderEntry&)>& visit) override;
    bool GetFolderId(const std::wstring& folder, qlfs::FolderId& id) override;
    std::wstring FullPath(const std::wstring& path) override;

    // Folders listed so far, in order, as full paths.
    std::vector<std::wstring> m_enumerated;

private:
    static constexpr size_t kMissing = size_t(-1);
    struct Node {
        bool isFolder = false;
        std::vector<std::pair<std::wstring, size_t>> children;  // in listing order
    };
    size_t Find(const std::wstring& path) const;
    size_t Add(const std::wstring& path, bool isFolder);

    std::vector<Node> m_nodes;
};
