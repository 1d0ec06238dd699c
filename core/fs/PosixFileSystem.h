#pragma once
// The file-system layer on POSIX. Windows attributes are mapped onto the mode
// bits: read-only means the owner-write bit is clear (judged from the mode,
// never from access(), which is always true for root). An attribute value read
// here also carries the whole permission mode, so that writing it back keeps
// the mode bits exactly.
#include "IFileSystem.h"

namespace qlfs {

class CPosixFileSystem final : public IFileSystem {
public:
    uint32_t GetAttributes(const std::wstring& path) override;
    bool SetAttributes(const std::wstring& path, uint32_t attributes) override;
    bool Exists(const std::wstring& path) override;
    bool IsFolder(const std::wstring& path) override;

    std::unique_ptr<IReadFile> OpenRead(const std::wstring& path) override;
    std::unique_ptr<IWriteFile> CreateNew(const std::wstring& path, bool& nameTaken) override;
    std::unique_ptr<IWriteFile> CreateUnnamed(const std::wstring& besidePath) override;

    bool GetTimes(const std::wstring& path, FileTimes& times) override;
    bool SetTimes(const std::wstring& path, const FileTimes& times) override;

    bool Rename(const std::wstring& from, const std::wstring& to) override;
    bool Replace(const std::wstring& from, const std::wstring& to) override;
    bool Link(const std::wstring& existing, const std::wstring& newName, bool& nameTaken) override;
    // A rename replaces a file whatever its mode.
    uint32_t ReplaceBlockingAttributes() const override { return 0; }
    bool CanReplaceOpenFiles() const override { return true; }
    std::wstring ResolveFileLink(const std::wstring& path) override;
    bool Delete(const std::wstring& path) override;

    bool EnumerateFolder(const std::wstring& folder,
                         const std::function<void(const FolderEntry&)>& visit) override;
    bool GetFolderId(const std::wstring& folder, FolderId& id) override;
    bool GetFileId(const std::wstring& path, FileId& id) override;
    std::wstring FullPath(const std::wstring& path) override;
};

// Where the permission mode travels inside an attribute value from
// CPosixFileSystem::GetAttributes; kAttrPosixMode marks that it is present.
constexpr int kAttrPosixModeShift = 16;
constexpr uint32_t kAttrPosixModeMask = 07777;
constexpr uint32_t kAttrPosixMode = 0x10000000;

}  // namespace qlfs
