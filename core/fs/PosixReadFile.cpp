#include "PosixReadFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include <cerrno>

#include "PosixAttributes.h"

namespace qlfs {

std::unique_ptr<IReadFile> CPosixReadFile::Open(const std::string& nativePath)
{
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for
    // one; on a regular file the flag changes nothing.
    CPosixUniqueFd fd(::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd.IsValid())
        return nullptr;
    // Only regular files are converted: a folder, FIFO, socket or device is
    // never read, so it cannot be replaced by a regular file either. Size,
    // mode, owner and times are taken once here, which saves a system call
    // per file, and the access time is the one from before this run read it.
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
    FileMetadata metadata;
    metadata.attributes = AttributesFromMode(info.st_mode);
    metadata.times.lastAccess = int64_t(info.st_atim.tv_sec);
    metadata.times.lastWrite = int64_t(info.st_mtim.tv_sec);
    metadata.owner = int64_t(info.st_uid);
    metadata.group = int64_t(info.st_gid);
    return std::unique_ptr<IReadFile>(new CPosixReadFile(std::move(fd), metadata, int64_t(info.st_size)));
}

bool CPosixReadFile::GetMetadata(FileMetadata& metadata)
{
    metadata = m_metadata;
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
