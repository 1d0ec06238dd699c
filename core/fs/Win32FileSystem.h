#pragma once
// The file-system layer on Windows: thin calls into the Win32 file API.
#include "IFileSystem.h"

namespace qlfs {

class CWin32FileSystem final : public IFileSystem {
public:
    uint32_t GetAttributes(const std::wstring& path) override;
    bool SetAttributes(const std::wstring& path, uint32_t attributes) override;
    bool Exists(const std::wstring& path) override;
    bool IsFolder(const std::wstring& path) override;

    std::unique_ptr<IReadFile> OpenRead(const std::wstring& path) override;
    std::unique_ptr<IWriteFile> CreateNew(const std::wstring& path, bool& nameTaken) override;
    std::unique_ptr<IWriteFile> CreateTemporary(const std::wstring& path, bool& nameTaken) override;

    bool GetTimes(const std::wstring& path, FileTimes& times) override;
    bool SetTimes(const std::wstring& path, const FileTimes& times) override;

    bool Rename(const std::wstring& from, const std::wstring& to) override;
    bool Replace(const std::wstring& from, const std::wstring& to) override;
    bool Link(const std::wstring& existing, const std::wstring& newName, bool& nameTaken) override;
    // MoveFileExW refuses to replace a read-only file; hidden and system
    // files are cleared as well so that nothing else can stand in the way.
    uint32_t ReplaceBlockingAttributes() const override { return kAttrReadOnly | kAttrHidden | kAttrSystem; }
    // A symbolic link's final target, from GetFinalPathNameByHandleW.
    std::wstring ResolveFileLink(const std::wstring& path) override;
    bool Delete(const std::wstring& path) override;

    bool EnumerateFolder(const std::wstring& folder,
                         const std::function<void(const FolderEntry&)>& visit) override;
    bool GetFolderId(const std::wstring& folder, FolderId& id) override;
    bool GetFileId(const std::wstring& path, FileId& id) override;
    std::wstring FullPath(const std::wstring& path) override;
};

}  // namespace qlfs
