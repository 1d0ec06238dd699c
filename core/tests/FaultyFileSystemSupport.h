#pragma once
// An in-memory file system for tests, with Windows rules (read-only files
// cannot be deleted or replaced, renames never replace, hard links share one
// file) and a hook that makes any single
// operation fail: the Nth read or write, a close, a rename, a delete, a full
// disk, and so on.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fs/IFileSystem.h"

class CFaultyFileSystem final : public qlfs::IFileSystem {
public:
    enum class EOp {
        GetAttributes, SetAttributes, OpenRead, CreateNew, Read, Write, Close,
        GetTimes, SetTimes, Rename, Delete, Replace, Link, Flush,
    };

    struct SFile {
        std::string content;
        uint32_t attributes = qlfs::kAttrArchive;
        qlfs::FileTimes times;
        // A file whose reads serve `pattern` repeated up to `generatedSize`
        // bytes, and whose writes only count: for sizes beyond memory.
        uint64_t generatedSize = 0;
        std::string pattern;
        bool isFolder = false;
        // What an open file reports as its size, when set: a file that grew
        // or shrank after it was opened, or (-1) one whose size is unknown.
        std::optional<int64_t> reportedSize;
    };

    // Return true to make the call fail. `path` is the file the call is about
    // (for a rename: the source; the target is in `second`).
    std::function<bool(EOp op, const std::wstring& path, const std::wstring& second)> failWhen;
    // Written files keep only their size, so that huge outputs cost no memory.
    bool discardWrites = false;
    // Whether Link makes hard links (two names, one file) or is unsupported.
    bool supportsLinks = true;

    void AddFile(const std::wstring& path, const std::string& content, uint32_t attributes = qlfs::kAttrArchive,
                 qlfs::FileTimes times = {});
    void AddGeneratedFile(const std::wstring& path, uint64_t size, const std::string& pattern);
    void AddFolder(const std::wstring& path);
    void SetReportedSize(const std::wstring& path, int64_t size) { m_files.at(path)->reportedSize = size; }

    bool Has(const std::wstring& path) const { return m_files.count(path) != 0; }
    const SFile& File(const std::wstring& path) const { return *m_files.at(path); }
    std::vector<std::wstring> Names() const;
    // Names passed to CreateNew, in order.
    const std::vector<std::wstring>& CreatedNames() const { return m_created; }

    uint32_t GetAttributes(const std::wstring& path) override;
    bool SetAttributes(const std::wstring& path, uint32_t attributes) override;
    bool Exists(const std::wstring& path) override;
    bool IsFolder(const std::wstring& path) override;
    std::unique_ptr<qlfs::IReadFile> OpenRead(const std::wstring& path) override;
    std::unique_ptr<qlfs::IWriteFile> CreateNew(const std::wstring& path, bool& nameTaken) override;
    bool GetTimes(const std::wstring& path, qlfs::FileTimes& times) override;
    bool SetTimes(const std::wstring& path, const qlfs::FileTimes& times) override;
    bool Rename(const std::wstring& from, const std::wstring& to) override;
    bool Delete(const std::wstring& path) override;
    bool Replace(const std::wstring& from, const std::wstring& to) override;
    bool Link(const std::wstring& existing, const std::wstring& newName, bool& nameTaken) override;
    uint32_t ReplaceBlockingAttributes() const override { return qlfs::kAttrReadOnly | qlfs::kAttrHidden | qlfs::kAttrSystem; }
    std::wstring ResolveFileLink(const std::wstring& path) override { return path; }
    bool EnumerateFolder(const std::wstring& folder,
                         const std::function<void(const qlfs::FolderEntry&)>& visit) override;
    bool GetFolderId(const std::wstring& folder, qlfs::FolderId& id) override;
    // Hard links share one file, and so one identity.
    bool GetFileId(const std::wstring& path, qlfs::FileId& id) override;
    std::wstring FullPath(const std::wstring& path) override { return path; }

    // Used by the open files: whether the hook fails this call.
    bool Fails(EOp op, const std::wstring& path, const std::wstring& second = {}) const
    {
        return failWhen && failWhen(op, path, second);
    }
    // A clock that advances with every write, so that kept and fresh times differ.
    int64_t Tick() { return ++m_now; }

private:
    std::map<std::wstring, std::shared_ptr<SFile>> m_files;
    std::vector<std::wstring> m_created;
    int64_t m_now = 1700000000;
};
