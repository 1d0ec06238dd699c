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
    std::unique_ptr<IWriteFile> CreateWrite(const std::wstring& path) override;

    bool GetTimes(const std::wstring& path, FileTimes& times) override;
    bool SetTimes(const std::wstring& path, const FileTimes& times) override;

    bool Rename(const std::wstring& from, const std::wstring& to) override;
    bool Delete(const std::wstring& path) override;

    bool EnumerateFolder(const std::wstring& folder,
                         const std::function<void(const FolderEntry&)>& visit) override;
    bool GetFolderId(const std::wstring& folder, FolderId& id) override;
    std::wstring FullPath(const std::wstring& path) override;
};

}  // namespace qlfs
