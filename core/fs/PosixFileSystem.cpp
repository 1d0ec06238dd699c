#include "PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

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

uint32_t AttributesFromMode(mode_t mode)
{
    uint32_t attributes = kAttrPosixMode | ((uint32_t(mode) & kAttrPosixModeMask) << kAttrPosixModeShift);
    if (!(mode & S_IWUSR))
        attributes |= kAttrReadOnly;
    if (S_ISDIR(mode))
        attributes |= kAttrDirectory;
    if (!(attributes & (kAttrReadOnly | kAttrDirectory)))
        attributes |= kAttrNormal;  // as Windows reports a file with no other attribute
    return attributes;
}

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

// Rename that never replaces an existing target, for file systems without
// RENAME_NOREPLACE: a hard link fails on an existing name.
bool RenameByLink(const std::string& from, const std::string& to)
{
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    if (::unlink(from.c_str()) != 0) {
        ::unlink(to.c_str());
        return false;
    }
    return true;
}

std::wstring CurrentFolder()
{
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return L"/";
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
    std::string native = ToNativePath(path);
    mode_t mode = 0;
    if (attributes & kAttrPosixMode) {
        mode = mode_t((attributes >> kAttrPosixModeShift) & kAttrPosixModeMask);
    } else {
        struct stat info {};
        if (::stat(native.c_str(), &info) != 0)
            return false;
        mode = info.st_mode & kAttrPosixModeMask;
    }
    // The read-only bit decides owner-write; 0 therefore makes the file writable.
    if (attributes & kAttrReadOnly)
        mode &= ~mode_t(S_IWUSR);
    else
        mode |= S_IWUSR;
    return ::chmod(native.c_str(), mode) == 0;
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

std::unique_ptr<IWriteFile> CPosixFileSystem::CreateWrite(const std::wstring& path)
{
    return CPosixWriteFile::Create(ToNativePath(path));
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
    return ::utimensat(AT_FDCWD, ToNativePath(path).c_str(), both, 0) == 0;
}

bool CPosixFileSystem::Rename(const std::wstring& from, const std::wstring& to)
{
    std::string nativeFrom = ToNativePath(from);
    std::string nativeTo = ToNativePath(to);
    if (::renameat2(AT_FDCWD, nativeFrom.c_str(), AT_FDCWD, nativeTo.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    return RenameByLink(nativeFrom, nativeTo);
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

std::wstring CPosixFileSystem::FullPath(const std::wstring& path)
{
    // Lexical, as GetFullPathNameW: "." and ".." are resolved without
    // following links, repeated separators collapse, a trailing one stays.
    std::wstring joined = (!path.empty() && path[0] == L'/') ? path : CurrentFolder() + L"/" + path;
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find(L'/', start);
        if (end == std::wstring::npos)
            end = joined.size();
        std::wstring part = joined.substr(start, end - start);
        if (part == L"..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != L".") {
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
