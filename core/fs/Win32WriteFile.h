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

    bool Write(const void* data, size_t size) override;
    bool ApplyMetadata(const FileMetadata& original, bool times, bool attributes) override;
    bool Flush() override;
    bool Close() override;

private:
    explicit CWin32WriteFile(CFileHandle handle) : m_handle(std::move(handle)) {}

    CFileHandle m_handle;
};

}  // namespace qlfs
