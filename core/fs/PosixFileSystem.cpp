#include "PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "PosixAttributes.h"
#include "PosixPath.h"
#include "PosixReadFile.h"
#include "PosixWriteFile.h"

namespace qlfs {
namespace {

// Owns a directory stream.
class CDirStream {
public:
    explicit CDirStream(DIR* dir) : m_dir(dir) {}
    CDirStream(const CDirStream&) = delete;
    CDirStream& operator=(const CDirStream&) = delete;
    ~CDirStream()
    {
        if (m_dir)
            ::closedir(m_dir);
    }
    DIR* Get() const { return m_dir; }

private:
    DIR* m_dir;
};

bool IsEntryFolder(int dirFd, const dirent& entry)
{
    if (entry.d_type == DT_DIR)
        return true;
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK)
        return false;
    // A link to a folder is listed as a folder, as a junction is on Windows.
    struct stat info {};
    return ::fstatat(dirFd, entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

std::wstring CurrentFolder()
{
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        // Deleted, or deeper than any buffer: there is no folder to anchor
        // a relative path to, and none may be made up.
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    return FromNativePath(buffer.data());
}

}  // namespace

uint32_t CPosixFileSystem::GetAttributes(const std::wstring& path)
{
    struct stat info {};
    if (::stat(ToNativePath(path).c_str(), &info) != 0)
        return kInvalidAttributes;
    return AttributesFromMode(info.st_mode);
}

bool CPosixFileSystem::SetAttributes(const std::wstring& path, uint32_t attributes)
{
    // A link in the last component is never followed: whatever it points to
    // is not the file this call is about.
    std::string native = ToNativePath(path);
    struct stat info {};
    if (::lstat(native.c_str(), &info) != 0 || S_ISLNK(info.st_mode))
        return false;
    return ::fchmodat(AT_FDCWD, native.c_str(), ModeFromAttributes(attributes, info.st_mode),
                      AT_SYMLINK_NOFOLLOW) == 0;
}

bool CPosixFileSystem::Exists(const std::wstring& path)
{
    // lstat: a dangling link still occupies its name.
    struct stat info {};
    return ::lstat(ToNativePath(path).c_str(), &info) == 0;
}

bool CPosixFileSystem::IsFolder(const std::wstring& path)
{
    struct stat info {};
    return ::stat(ToNativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::unique_ptr<IReadFile> CPosixFileSystem::OpenRead(const std::wstring& path)
{
    return CPosixReadFile::Open(ToNativePath(path));
}

std::unique_ptr<IWriteFile> CPosixFileSystem::CreateNew(const std::wstring& path, bool& nameTaken)
{
    return CPosixWriteFile::CreateNew(ToNativePath(path), nameTaken);
}

// Written without a name, the copy cannot be listed, opened or taken over
// by another run before it is complete.
std::unique_ptr<IWriteFile> CPosixFileSystem::CreateUnnamed(const std::wstring& besidePath)
{
    const std::string native = ToNativePath(besidePath);
    const size_t slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
    return CPosixWriteFile::CreateUnnamed(folder);
}

bool CPosixFileSystem::GetTimes(const std::wstring& path, FileTimes& times)
{
    struct stat info {};
    if (::stat(ToNativePath(path).c_str(), &info) != 0)
        return false;
    times.lastAccess = int64_t(info.st_atim.tv_sec);
    times.lastWrite = int64_t(info.st_mtim.tv_sec);
    return true;
}

bool CPosixFileSystem::SetTimes(const std::wstring& path, const FileTimes& times)
{
    struct timespec both[2] = {};
    both[0].tv_sec = time_t(times.lastAccess);
    both[1].tv_sec = time_t(times.lastWrite);
    return ::utimensat(AT_FDCWD, ToNativePath(path).c_str(), both, AT_SYMLINK_NOFOLLOW) == 0;
}

bool CPosixFileSystem::Rename(const std::wstring& from, const std::wstring& to)
{
    std::string nativeFrom = ToNativePath(from);
    std::string nativeTo = ToNativePath(to);
    if (::renameat2(AT_FDCWD, nativeFrom.c_str(), AT_FDCWD, nativeTo.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // No RENAME_NOREPLACE here: a hard link fails on an existing name.
    if (::link(nativeFrom.c_str(), nativeTo.c_str()) != 0)
        return false;
    if (::unlink(nativeFrom.c_str()) != 0) {
        ::unlink(nativeTo.c_str());
        return false;
    }
    return true;
}

bool CPosixFileSystem::Replace(const std::wstring& from, const std::wstring& to)
{
    return ::rename(ToNativePath(from).c_str(), ToNativePath(to).c_str()) == 0;
}

bool CPosixFileSystem::Link(const std::wstring& existing, const std::wstring& newName, bool& nameTaken)
{
    nameTaken = false;
    if (::link(ToNativePath(existing).c_str(), ToNativePath(newName).c_str()) == 0)
        return true;
    nameTaken = errno == EEXIST;
    return false;
}

std::wstring CPosixFileSystem::ResolveFileLink(const std::wstring& path)
{
    std::string native = ToNativePath(path);
    struct stat info {};
    if (::lstat(native.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* resolved = ::realpath(native.c_str(), nullptr);
    if (!resolved)
        return {};
    std::wstring target = FromNativePath(resolved);
    ::free(resolved);
    return target;
}

bool CPosixFileSystem::Delete(const std::wstring& path)
{
    return ::unlink(ToNativePath(path).c_str()) == 0;
}

bool CPosixFileSystem::EnumerateFolder(const std::wstring& folder,
                                       const std::function<void(const FolderEntry&)>& visit)
{
    CDirStream dir(::opendir(ToNativePath(folder).c_str()));
    if (!dir.Get())
        return false;
    FolderEntry entry;
    while (const dirent* raw = ::readdir(dir.Get())) {
        std::string_view name(raw->d_name);
        if (name == "." || name == "..")
            continue;
        entry.name = FromNativePath(raw->d_name);
        entry.isFolder = IsEntryFolder(::dirfd(dir.Get()), *raw);
        visit(entry);
    }
    return true;
}

bool CPosixFileSystem::GetFolderId(const std::wstring& folder, FolderId& id)
{
    struct stat info {};
    if (::stat(ToNativePath(folder).c_str(), &info) != 0)
        return false;
    id.volume = uint64_t(info.st_dev);
    id.index = uint64_t(info.st_ino);
    return true;
}

bool CPosixFileSystem::GetFileId(const std::wstring& path, FileId& id)
{
    // stat follows links, as the conversion does: a link and its target are one file.
    struct stat info {};
    if (::stat(ToNativePath(path).c_str(), &info) != 0)
        return false;
    id = FileId{uint64_t(info.st_dev), uint64_t(info.st_ino), 0};
    return true;
}

std::wstring CPosixFileSystem::FullPath(const std::wstring& path)
{
    // "." parts and repeated separators go, a trailing separator stays. ".."
    // stays too: after a link it means the link target's parent, which only
    // the file system knows.
    std::wstring joined = path;
    if (path.empty() || path[0] != L'/') {
        std::wstring current = CurrentFolder();
        if (current.empty())
            return {};
        joined = current + L"/" + path;
    }
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find(L'/', start);
        if (end == std::wstring::npos)
            end = joined.size();
        std::wstring part = joined.substr(start, end - start);
        if (!part.empty() && part != L".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    std::wstring result;
    for (const std::wstring& part : parts)
        result += L"/" + part;
    if (result.empty() || (!path.empty() && path.back() == L'/'))
        result += L"/";
    return result;
}

IFileSystem& PlatformFileSystem()
{
    static CPosixFileSystem fileSystem;
    return fileSystem;
}

}  // namespace qlfs
