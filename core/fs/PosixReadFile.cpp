#include "PosixReadFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "PosixAttributes.h"
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
            // Advice values are not flags: each is given on its own.
            ::madvise(address, size, MADV_SEQUENTIAL);
            ::madvise(address, size, MADV_WILLNEED);
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
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for
    // one; on a regular file the flag changes nothing.
    CPosixUniqueFd fd(::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd.IsValid())
        return nullptr;
    // Only regular files are converted: a folder, FIFO, socket or device is
    // never read, so it cannot be replaced by a regular file either. The size
    // is taken once here, which saves a system call per file.
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
    return std::unique_ptr<IReadFile>(new CPosixReadFile(std::move(fd), int64_t(info.st_size)));
}

bool CPosixReadFile::GetMetadata(FileMetadata& metadata)
{
    struct stat info {};
    if (::fstat(m_fd.Get(), &info) != 0)
        return false;
    metadata.attributes = AttributesFromMode(info.st_mode);
    metadata.times.lastAccess = int64_t(info.st_atim.tv_sec);
    metadata.times.lastWrite = int64_t(info.st_mtim.tv_sec);
    metadata.owner = int64_t(info.st_uid);
    metadata.group = int64_t(info.st_gid);
    return true;
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
