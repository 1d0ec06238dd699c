#pragma once
// A file created for writing through a POSIX descriptor.
#include <memory>
#include <string>

#include "IFileSystem.h"
#include "PosixUniqueFd.h"

namespace qlfs {

class CPosixWriteFile final : public IWriteFile {
public:
    // Creates or truncates; null on failure. A symbolic link in the last
    // component is refused so that a planted link cannot redirect the write.
    static std::unique_ptr<IWriteFile> Create(const std::string& nativePath);

    bool Write(const void* data, size_t size) override;
    bool Close() override;

private:
    explicit CPosixWriteFile(CPosixUniqueFd fd) : m_fd(std::move(fd)) {}

    CPosixUniqueFd m_fd;
};

}  // namespace qlfs
