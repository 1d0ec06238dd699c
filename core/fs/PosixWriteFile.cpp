#include "PosixWriteFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <unistd.h>

#include <cerrno>
#include <string>

#include "PosixAttributes.h"
#include "PosixPath.h"

namespace qlfs {
namespace {
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file
}  // namespace

CPosixWriteFile::CPosixWriteFile(CPosixUniqueFd fd, std::string name) : m_fd(std::move(fd)), m_name(std::move(name))
{
    struct stat own {};
    if (::fstat(m_fd.Get(), &own) == 0) {
        m_device = uint64_t(own.st_dev);
        m_inode = uint64_t(own.st_ino);
    } else {
        m_fd.Close();  // a file that cannot tell who it is cannot be moved safely
    }
}

std::unique_ptr<IWriteFile> CPosixWriteFile::CreateNew(const std::string& nativePath, bool& nameTaken)
{
    // O_EXCL claims the name: it fails on any existing entry, links included,
    // so two runs can never write the same temporary file.
    CPosixUniqueFd fd(::open(nativePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                             kNewFileMode));
    nameTaken = !fd.IsValid() && errno == EEXIST;
    if (!fd.IsValid())
        return nullptr;
    return std::unique_ptr<IWriteFile>(new CPosixWriteFile(std::move(fd), nativePath));
}

std::unique_ptr<IWriteFile> CPosixWriteFile::CreateUnnamed(const std::string& nativeFolder)
{
#ifdef O_TMPFILE
    CPosixUniqueFd fd(::open(nativeFolder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode));
    if (!fd.IsValid())
        return nullptr;
    return std::unique_ptr<IWriteFile>(new CPosixWriteFile(std::move(fd), {}));
#else
    (void)nativeFolder;
    return nullptr;
#endif
}

bool CPosixWriteFile::Name(const std::wstring& name, bool& nameTaken)
{
    nameTaken = false;
    if (!m_fd.IsValid() || HasName())
        return false;
    const std::string native = ToNativePath(name);
    // linkat through /proc needs no privilege (AT_EMPTY_PATH would); like
    // O_EXCL it fails on any existing entry, so the name is claimed.
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd.Get());
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, native.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        nameTaken = errno == EEXIST;
        return false;
    }
    m_name = native;
    return true;
}

bool CPosixWriteFile::NameIsOwn() const
{
    struct stat named {};
    return !m_name.empty() && ::lstat(m_name.c_str(), &named) == 0 && uint64_t(named.st_dev) == m_device &&
           uint64_t(named.st_ino) == m_inode;
}

// Another run that listed the folder while the file still had its name may
// have put its own file there. That file is never moved onto the target.
bool CPosixWriteFile::MoveTo(const std::wstring& target, bool replaceExisting)
{
    if (!NameIsOwn())
        return false;
    const std::string native = ToNativePath(target);
    int result = replaceExisting
                     ? ::rename(m_name.c_str(), native.c_str())
                     : ::renameat2(AT_FDCWD, m_name.c_str(), AT_FDCWD, native.c_str(), RENAME_NOREPLACE);
    if (result != 0 && !replaceExisting && (errno == EINVAL || errno == ENOSYS)) {
        // No RENAME_NOREPLACE here: a hard link fails on an existing name.
        if (::link(m_name.c_str(), native.c_str()) != 0)
            return false;
        result = ::unlink(m_name.c_str());
        if (result != 0)
            ::unlink(native.c_str());
    }
    if (result != 0)
        return false;
    m_name = native;
    return true;
}

bool CPosixWriteFile::Discard()
{
    const bool named = HasName();
    // Attributes never stop an unlink on POSIX.
    const bool removed = !named || (NameIsOwn() && ::unlink(m_name.c_str()) == 0);
    m_fd.Close();
    m_name.clear();
    return removed;
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
            return false;  // ENOSPC, EIO, EDQUOT, EFBIG, ...
        }
        if (done == 0)
            return false;  // no progress: treat as a device that cannot take more
        bytes += done;
        size -= size_t(done);
        m_written += uint64_t(done);
    }
    constexpr uint64_t kStretch = uint64_t(8) << 20;
    StartWriteBack(kStretch);
    return true;
}

// A large file is flushed before it replaces the original. Asking the disk to
// start on each finished stretch while the rest is still being converted
// leaves the flush little to wait for at the end. Only a hint: failures are
// reported by the flush, where there is one.
void CPosixWriteFile::StartWriteBack(uint64_t smallest)
{
#ifdef __linux__
    if (!m_fd.IsValid() || m_written - m_writeBackFrom < smallest)
        return;
    ::sync_file_range(m_fd.Get(), off64_t(m_writeBackFrom), off64_t(m_written - m_writeBackFrom),
                      SYNC_FILE_RANGE_WRITE);
    m_writeBackFrom = m_written;
#else
    (void)smallest;
#endif
}

bool CPosixWriteFile::ApplyMetadata(const FileMetadata& original, bool times, bool attributes)
{
    struct stat own {};
    if (!m_fd.IsValid() || ::fstat(m_fd.Get(), &own) != 0)
        return false;
    // The owner and group are kept where this process may set them (root, or
    // a group the user belongs to); otherwise the file is the user's own.
    bool ownerKept = original.owner < 0 || (uid_t(original.owner) == own.st_uid && gid_t(original.group) == own.st_gid);
    if (!ownerKept)
        ownerKept = ::fchown(m_fd.Get(), uid_t(original.owner), gid_t(original.group)) == 0;
    if (attributes) {
        mode_t mode = ModeFromAttributes(original.attributes, own.st_mode);
        // Set-user-ID and set-group-ID mean "run as this owner": they must
        // never end up on a file that now belongs to someone else.
        if (!ownerKept)
            mode &= ~mode_t(S_ISUID | S_ISGID);
        if (::fchmod(m_fd.Get(), mode) != 0)
            return false;
    }
    if (times) {
        struct timespec both[2] = {};
        both[0].tv_sec = time_t(original.times.lastAccess);
        both[1].tv_sec = time_t(original.times.lastWrite);
        if (::futimens(m_fd.Get(), both) != 0)
            return false;
    }
    return true;
}

bool CPosixWriteFile::Flush()
{
    if (!m_fd.IsValid() || ::fdatasync(m_fd.Get()) != 0)
        return false;
    m_writeBackFrom = m_written;
    return true;
}

// The rest of the data is put on its way to the disk before the file takes
// the original's name. ext4 would start this write-back itself when the file
// replaces another, but inside the rename, with the folder locked.
bool CPosixWriteFile::Close()
{
    StartWriteBack(1);
    return m_fd.Close();
}

}  // namespace qlfs
