#include "Win32FileSystem.h"

#include <windows.h>

#include <vector>

#include "Win32FileTime.h"
#include "Win32Path.h"
#include "Win32ReadFile.h"
#include "CUniqueHandle.h"
#include "Win32WriteFile.h"

namespace qlfs {
namespace {

// GetFinalPathNameByHandleW answers in the literal form: "\\?\C:\..." or
// "\\?\UNC\server\share\...". The plain form is what the rest of the
// program prints and builds names from.
std::wstring FromFinalPath(const std::wstring& path)
{
    const std::wstring literal = L"\\\\?\\", literalUnc = L"\\\\?\\UNC\\";
    if (path.compare(0, literalUnc.size(), literalUnc) == 0)
        return L"\\\\" + path.substr(literalUnc.size());
    if (path.compare(0, literal.size(), literal) == 0)
        return path.substr(literal.size());
    return path;
}

// Opens a file or folder only to read or change its metadata.
CFileHandle OpenForMetadata(const std::wstring& path, DWORD access)
{
    return CFileHandle(::CreateFileW(ToWin32Path(path).c_str(), access,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// FILE_ID_INFO and its class number (FileIdInfo, Windows 8 and later), which
// the headers give only to builds for Windows 8: this program runs on 7 too.
constexpr auto kFileIdInfoClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);
struct SFileIdInfo {
    ULONGLONG volumeSerialNumber;
    ULONGLONG fileIdLow;  // FILE_ID_128, little-endian halves
    ULONGLONG fileIdHigh;
};

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

std::unique_ptr<IWriteFile> CWin32FileSystem::CreateNew(const std::wstring& path, bool& nameTaken)
{
    return CWin32WriteFile::CreateNew(path, nameTaken);
}

std::unique_ptr<IWriteFile> CWin32FileSystem::CreateTemporary(const std::wstring& path, bool& nameTaken)
{
    return CWin32WriteFile::CreatePrivate(path, nameTaken);
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
    CFileHandle handle = OpenForMetadata(path, FILE_WRITE_ATTRIBUTES);
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

bool CWin32FileSystem::Replace(const std::wstring& from, const std::wstring& to)
{
    // One rename that takes over the existing name, exactly as spelt: in a
    // case-sensitive folder "X.h" never lands on "x.h".
    return ::MoveFileExW(ToWin32Path(from).c_str(), ToWin32Path(to).c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool CWin32FileSystem::Link(const std::wstring& existing, const std::wstring& newName, bool& nameTaken)
{
    nameTaken = false;
    const std::wstring target = ToWin32Path(newName);
    if (::CreateHardLinkW(target.c_str(), ToWin32Path(existing).c_str(), nullptr))
        return true;
    DWORD error = ::GetLastError();
    nameTaken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ||
                ::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    return false;
}

std::wstring CWin32FileSystem::ResolveFileLink(const std::wstring& path)
{
    // Only a reparse point can be a link; every other file is its own path.
    const std::wstring win32Path = ToWin32Path(path);
    const DWORD attributes = ::GetFileAttributesW(win32Path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return path;
    // Opening follows the link to its final target; a dangling link opens nothing.
    CFileHandle target(::CreateFileW(win32Path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
    if (!target.IsValid())
        return {};
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(target.Get(), buffer.data(), DWORD(buffer.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < buffer.size())
            return FromFinalPath(std::wstring(buffer.data(), length));
        buffer.resize(length);
    }
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
    CFindHandle find(::FindFirstFileW(ToWin32Path(pattern).c_str(), &data));
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
    CFileHandle handle = OpenForMetadata(folder, FILE_READ_ATTRIBUTES);
    if (!handle.IsValid())
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle.Get(), &info))
        return false;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

bool CWin32FileSystem::GetFileId(const std::wstring& path, FileId& id)
{
    // Opening without FILE_FLAG_OPEN_REPARSE_POINT follows a link to its
    // target, as the conversion does.
    CFileHandle handle = OpenForMetadata(path, FILE_READ_ATTRIBUTES);
    if (!handle.IsValid())
        return false;
    // FileIdInfo is asked first: GetFileInformationByHandle also asks for the
    // volume's serial number through the volume, which under Wine is a trip
    // to the mount manager's process for every file. Windows 7 lacks the
    // class; there every file takes the second way, so keys stay comparable.
    SFileIdInfo info{};
    if (::GetFileInformationByHandleEx(handle.Get(), kFileIdInfoClass, &info, sizeof(info))) {
        id = FileId{info.volumeSerialNumber, info.fileIdLow, info.fileIdHigh};
        return true;
    }
    BY_HANDLE_FILE_INFORMATION byHandle{};
    if (!::GetFileInformationByHandle(handle.Get(), &byHandle))
        return false;
    id = FileId{byHandle.dwVolumeSerialNumber, (uint64_t(byHandle.nFileIndexHigh) << 32) | byHandle.nFileIndexLow, 0};
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
