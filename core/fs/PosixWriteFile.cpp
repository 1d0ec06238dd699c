#include "PosixWriteFile.h"

#include <fcntl.h>

#include <cerrno>

namespace qlfs {

std::unique_ptr<IWriteFile> CPosixWriteFile::Create(const std::string& nativePath)
{
    constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file
    CPosixUniqueFd fd(::open(nativePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC,
                             kNewFileMode));
    if (!fd.IsValid())
        return nullptr;
    return std::unique_ptr<IWriteFile>(new CPosixWriteFile(std::move(fd)));
}

bool CPosixWriteFile::Write(const void* data, size_t size)
{
    if (!m_fd.IsValid())
        return false;
    auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t done = ::write(m_fd.Get(), bytes, size);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;  // ENOSPC, EIO, EDQUOT, ...
        }
        if (done == 0)
            return false;  // no progress: treat as a device that cannot take more
        bytes += done;
        size -= size_t(done);
    }
    return true;
}

bool CPosixWriteFile::Close()
{
    return m_fd.Close();
}

}  // namespace qlfs
