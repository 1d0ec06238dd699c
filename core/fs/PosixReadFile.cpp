#include "PosixReadFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace qlfs {

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
