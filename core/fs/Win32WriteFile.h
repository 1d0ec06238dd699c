#pragma once
// A file created for writing through a Win32 handle.
#include <memory>
#include <string>

#include "IFileSystem.h"
#include "CUniqueHandle.h"

namespace qlfs {

class CWin32WriteFile final : public IWriteFile {
public:
    // Creates a file that did not exist; null on failure, with `nameTaken`
    // set when a file or folder already has the name.
    static std::unique_ptr<IWriteFile> CreateNew(const std::wstring& path, bool& nameTaken);
    // The same with no sharing: no other program can open, rename or delete
    // the file while this handle holds it, and the file moves itself.
    static std::unique_ptr<IWriteFile> CreatePrivate(const std::wstring& path, bool& nameTaken);

    bool Write(const void* data, size_t size) override;
    bool ApplyMetadata(const FileMetadata& original, bool times, bool attributes) override;
    bool Flush() override;
    bool Close() override;
    bool MovesItself() const override { return m_private; }
    bool MoveTo(const std::wstring& target, bool replaceExisting) override;
    bool Discard() override;

private:
    CWin32WriteFile(CFileHandle handle, bool isPrivate) : m_handle(std::move(handle)), m_private(isPrivate) {}
    static std::unique_ptr<IWriteFile> Create(const std::wstring& path, bool isPrivate, bool& nameTaken);

    CFileHandle m_handle;
    const bool m_private;  // created with no sharing; moved and deleted through the handle
};

}  // namespace qlfs
