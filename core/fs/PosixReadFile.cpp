#include "PosixReadFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "PosixSigbusGuard.h"

namespace qlfs {
namespace {

// Below this size a plain read costs less than setting up and tearing down a mapping.
constexpr int64_t kSmallestMappedFile = int64_t(1) << 20;

// Owns one read-only mapping of a whole file.
class CFileMapping {
public:
    CFileMapping(int fd, size_t size) : m_size(size)
    {
        void* address = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
        if (address != MAP_FAILED) {
            m_data = static_cast<const uint8_t*>(address);
            ::madvise(address, size, MADV_SEQUENTIAL | MADV_WILLNEED);
        }
    }
    ~CFileMapping()
    {
        if (m_data)
            ::munmap(const_cast<uint8_t*>(m_data), m_size);
    }
    CFileMapping(const CFileMapping&) = delete;
    CFileMapping& operator=(const CFileMapping&) = delete;

    const uint8_t* Data() const { return m_data; }

private:
    const uint8_t* m_data = nullptr;
    size_t m_size;
};

struct SPieceWalk {
    const uint8_t* data;
    size_t size;
    size_t pieceSize;
    IReadFile::PieceConsumer consume;
    void* context;
};

bool WalkPieces(void* context)
{
    auto* walk = static_cast<SPieceWalk*>(context);
    for (size_t done = 0; done < walk->size;) {
        size_t piece = std::min(walk->pieceSize, walk->size - done);
        if (!walk->consume(walk->context, walk->data + done, piece))
            return false;
        done += piece;
    }
    return true;
}

}  // namespace

std::unique_ptr<IReadFile> CPosixReadFile::Open(const std::string& nativePath)
{
    CPosixUniqueFd fd(::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsValid())
        return nullptr;
    // The size is taken once here, which saves a system call per file; a
    // folder opens on POSIX but is no file to convert.
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || S_ISDIR(info.st_mode))
        return nullptr;
    int64_t size = S_ISREG(info.st_mode) ? int64_t(info.st_size) : 0;
    return std::unique_ptr<IReadFile>(new CPosixReadFile(std::move(fd), size));
}

int64_t CPosixReadFile::Read(void* buffer, size_t size)
{
    for (;;) {
        ssize_t got = ::read(m_fd.Get(), buffer, size);
        if (got >= 0)
            return got;
        if (errno != EINTR)
            return -1;
    }
}

}  // namespace qlfs

namespace qlfs {

IReadFile::MappedResult CPosixReadFile::ConsumeMapped(size_t pieceSize, PieceConsumer consume, void* context)
{
    if (m_size < kSmallestMappedFile || uint64_t(m_size) > SIZE_MAX || pieceSize == 0)
        return kMappedUnsupported;
    CFileMapping mapping(m_fd.Get(), size_t(m_size));
    if (!mapping.Data())
        return kMappedUnsupported;
    SPieceWalk walk{mapping.Data(), size_t(m_size), pieceSize, consume, context};
    if (!RunWithSigbusGuard(walk.data, walk.size, WalkPieces, &walk))
        return kMappedFailed;
    // Whatever was appended after the size was taken still comes through Read().
    return ::lseek(m_fd.Get(), m_size, SEEK_SET) == m_size ? kMappedDone : kMappedFailed;
}

}  // namespace qlfs
