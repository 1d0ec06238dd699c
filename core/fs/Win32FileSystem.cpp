#include "Win32FileSystem.h"

#include <windows.h>

#include "Win32Path.h"
#include "Win32ReadFile.h"
#include "Win32UniqueHandle.h"
#include "Win32WriteFile.h"

namespace qlfs {
namespace {

// FILETIME counts 100 ns ticks since 1601-01-01; the layer carries whole
// seconds since 1970-01-01.
constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kTicksFrom1601To1970 = 116444736000000000;

int64_t SecondsFromFileTime(const FILETIME& time)
{
    int64_t ticks = int64_t((uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime) - kTicksFrom1601To1970;
    int64_t seconds = ticks / kTicksPerSecond;
    if (ticks % kTicksPerSecond < 0)
        --seconds;  // round towards the past for times before 1970
    return seconds;
}

FILETIME FileTimeFromSeconds(int64_t seconds)
{
    uint64_t ticks = uint64_t(seconds * kTicksPerSecond + kTicksFrom1601To1970);
    FILETIME time;
    time.dwLowDateTime = DWORD(ticks & 0xFFFFFFFFu);
    time.dwHighDateTime = DWORD(ticks >> 32);
    return time;
}

// Opens a file or folder only to read or change its metadata.
CWin32UniqueHandle OpenForMetadata(const std::wstring& path, DWORD access)
{
    return CWin32UniqueHandle(::CreateFileW(ToWin32Path(path).c_str(), access,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

}  // namespace

uint32_t CWin32FileSystem::GetAttributes(const std::wstring& path)
{
    return ::GetFileAttributesW(ToWin32Path(path).c_str());
}

bool CWin32FileSystem::SetAttributes(const std::wstring& path, uint32_t attributes)
{
    return ::SetFileAttributesW(ToWin32Path(path).c_str(), attributes) != FALSE;
}

bool CWin32FileSystem::Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(ToWin32Path(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CWin32FileSystem::IsFolder(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(ToWin32Path(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::unique_ptr<IReadFile> CWin32FileSystem::OpenRead(const std::wstring& path)
{
    return CWin32ReadFile::Open(path);
}

std::unique_ptr<IWriteFile> CWin32FileSystem::CreateWrite(const std::wstring& path)
{
    return CWin32WriteFile::Create(path);
}

bool CWin32FileSystem::GetTimes(const std::wstring& path, FileTimes& times)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(ToWin32Path(path).c_str(), GetFileExInfoStandard, &data))
        return false;
    times.lastAccess = SecondsFromFileTime(data.ftLastAccessTime);
    times.lastWrite = SecondsFromFileTime(data.ftLastWriteTime);
    return true;
}

bool CWin32FileSystem::SetTimes(const std::wstring& path, const FileTimes& times)
{
    CWin32UniqueHandle handle = OpenForMetadata(path, FILE_WRITE_ATTRIBUTES);
    if (!handle.IsValid())
        return false;
    FILETIME access = FileTimeFromSeconds(times.lastAccess);
    FILETIME write = FileTimeFromSeconds(times.lastWrite);
    return ::SetFileTime(handle.Get(), nullptr, &access, &write) != FALSE;
}

bool CWin32FileSystem::Rename(const std::wstring& from, const std::wstring& to)
{
    return ::MoveFileW(ToWin32Path(from).c_str(), ToWin32Path(to).c_str()) != FALSE;
}

bool CWin32FileSystem::Delete(const std::wstring& path)
{
    return ::DeleteFileW(ToWin32Path(path).c_str()) != FALSE;
}

bool CWin32FileSystem::EnumerateFolder(const std::wstring& folder,
                                       const std::function<void(const FolderEntry&)>& visit)
{
    std::wstring pattern = folder;
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data{};
    CWin32FindHandle find(::FindFirstFileW(ToWin32Path(pattern).c_str(), &data));
    if (!find.IsValid())
        return false;
    FolderEntry entry;
    do {
        std::wstring_view name(data.cFileName);
        if (name == L"." || name == L"..")
            continue;
        entry.name.assign(name);
        entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        visit(entry);
    } while (::FindNextFileW(find.Get(), &data));
    return true;
}

bool CWin32FileSystem::GetFolderId(const std::wstring& folder, FolderId& id)
{
    CWin32UniqueHandle handle = OpenForMetadata(folder, FILE_READ_ATTRIBUTES);
    if (!handle.IsValid())
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle.Get(), &info))
        return false;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

std::wstring CWin32FileSystem::FullPath(const std::wstring& path)
{
    return Win32FullPathOf(path);
}

IFileSystem& PlatformFileSystem()
{
    static CWin32FileSystem fileSystem;
    return fileSystem;
}

}  // namespace qlfs
