#pragma once
// A file opened for reading through a POSIX descriptor.
#include <memory>
#include <string>

#include "IFileSystem.h"
#include "PosixUniqueFd.h"

namespace qlfs {

class CPosixReadFile final : public IReadFile {
public:
    // Null when the path cannot be opened or is not a regular file.
    static std::unique_ptr<IReadFile> Open(const std::string& nativePath);

    int64_t Read(void* buffer, size_t size) override;
    int64_t Size() override { return m_size; }
    bool GetMetadata(FileMetadata& metadata) override;

private:
    CPosixReadFile(CPosixUniqueFd fd, const FileMetadata& metadata, int64_t size)
        : m_fd(std::move(fd)), m_metadata(metadata), m_size(size)
    {
    }

    CPosixUniqueFd m_fd;
    FileMetadata m_metadata;  // as the file was when opened, before this run read it
    int64_t m_size;
};

}  // namespace qlfs
