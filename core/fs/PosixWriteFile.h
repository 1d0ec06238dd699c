#pragma once
// A file created for writing through a POSIX descriptor.
#include <memory>
#include <string>

#include "IFileSystem.h"
#include "PosixUniqueFd.h"

namespace qlfs {

class CPosixWriteFile final : public IWriteFile {
public:
    // Creates a file that did not exist; null on failure, with `nameTaken`
    // set when something (a dangling link included) already has the name.
    static std::unique_ptr<IWriteFile> CreateNew(const std::string& nativePath, bool& nameTaken);

    bool Write(const void* data, size_t size) override;
    bool ApplyMetadata(const FileMetadata& original, bool times, bool attributes) override;
    bool Flush() override;
    bool Close() override;

private:
    explicit CPosixWriteFile(CPosixUniqueFd fd) : m_fd(std::move(fd)) {}
    // Asks the disk to start writing what was written since the last call,
    // once that is at least `smallest` bytes.
    void StartWriteBack(uint64_t smallest);

    CPosixUniqueFd m_fd;
    uint64_t m_written = 0;
    uint64_t m_writeBackFrom = 0;  // where the disk has not been asked to start writing yet
};

}  // namespace qlfs
