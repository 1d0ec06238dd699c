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
    // A file with no name in `nativeFolder` (O_TMPFILE); null where the
    // system or the file system has none.
    static std::unique_ptr<IWriteFile> CreateUnnamed(const std::string& nativeFolder);

    bool Write(const void* data, size_t size) override;
    bool ApplyMetadata(const FileMetadata& original, bool times, bool attributes) override;
    bool Flush() override;
    bool Close() override;
    bool MovesItself() const override { return true; }
    bool HasName() const override { return !m_name.empty(); }
    bool Name(const std::wstring& name, bool& nameTaken) override;
    bool MoveTo(const std::wstring& target, bool replaceExisting) override;
    bool Discard() override;

private:
    CPosixWriteFile(CPosixUniqueFd fd, std::string name);
    // Whether m_name still refers to the file that was written.
    bool NameIsOwn() const;
    // Asks the disk to start writing what was written since the last call,
    // once that is at least `smallest` bytes.
    void StartWriteBack(uint64_t smallest);

    CPosixUniqueFd m_fd;
    std::string m_name;  // empty while unnamed
    // Identity of the file, kept after the close: the name is checked against
    // it before every move or delete.
    uint64_t m_device = 0;
    uint64_t m_inode = 0;
    uint64_t m_written = 0;
    uint64_t m_writeBackFrom = 0;  // where the disk has not been asked to start writing yet
};

}  // namespace qlfs
