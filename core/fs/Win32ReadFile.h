#pragma once
// A file opened for reading through a Win32 handle.
#include <memory>
#include <string>

#include "IFileSystem.h"
#include "CUniqueHandle.h"

namespace qlfs {

class CWin32ReadFile final : public IReadFile {
public:
    // Null when the path cannot be opened or is not a disk file (a reserved
    // device name, a pipe, a console). Other processes may still read,
    // write or delete the file meanwhile, as with the C runtime's fopen.
    static std::unique_ptr<IReadFile> Open(const std::wstring& path);

    int64_t Read(void* buffer, size_t size) override;
    int64_t Size() override;
    bool GetMetadata(FileMetadata& metadata) override;

private:
    explicit CWin32ReadFile(CFileHandle handle) : m_handle(std::move(handle)) {}

    CFileHandle m_handle;
};

}  // namespace qlfs
