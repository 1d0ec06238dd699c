#include "Win32WriteFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Win32FileTime.h"
#include "Win32Path.h"

namespace qlfs {
namespace {
// WriteFile takes a 32-bit count; larger requests are written in pieces.
constexpr size_t kMaxSingleTransfer = size_t(1) << 30;
// The attributes a file may be given; the others describe what it is.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                      FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;
}  // namespace

std::unique_ptr<IWriteFile> CWin32WriteFile::CreateNew(const std::wstring& path, bool& nameTaken)
{
    return Create(path, false, nameTaken);
}

std::unique_ptr<IWriteFile> CWin32WriteFile::CreatePrivate(const std::wstring& path, bool& nameTaken)
{
    return Create(path, true, nameTaken);
}

std::unique_ptr<IWriteFile> CWin32WriteFile::Create(const std::wstring& path, bool isPrivate, bool& nameTaken)
{
    // CREATE_NEW claims the name: two runs can never write the same file.
    // A private file shares nothing, so another run that lists the folder
    // meets a sharing violation instead of a half-written file; DELETE access
    // lets it be renamed and deleted through this handle.
    const std::wstring win32Path = ToWin32Path(path);
    const DWORD access = isPrivate ? GENERIC_WRITE | DELETE : GENERIC_WRITE;
    const DWORD share = isPrivate ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    CFileHandle handle(::CreateFileW(win32Path.c_str(), access, share, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    nameTaken = false;
    if (!handle.IsValid()) {
        DWORD error = ::GetLastError();
        // A folder of that name gives "access denied", but the name is taken all the same.
        nameTaken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                    ::GetFileAttributesW(win32Path.c_str()) != INVALID_FILE_ATTRIBUTES;
        return nullptr;
    }
    return std::unique_ptr<IWriteFile>(new CWin32WriteFile(std::move(handle), isPrivate));
}

bool CWin32WriteFile::Write(const void* data, size_t size)
{
    if (!m_handle.IsValid())
        return false;
    auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        DWORD piece = DWORD(std::min(size, kMaxSingleTransfer));
        DWORD done = 0;
        // A full disk fails the call or writes less than asked: both are errors.
        if (!::WriteFile(m_handle.Get(), bytes, piece, &done, nullptr) || done != piece)
            return false;
        bytes += done;
        size -= done;
    }
    return true;
}

bool CWin32WriteFile::ApplyMetadata(const FileMetadata& original, bool times, bool attributes)
{
    if (!m_handle.IsValid())
        return false;
    if (times) {
        FILETIME access = FileTimeFromSeconds(original.times.lastAccess);
        FILETIME write = FileTimeFromSeconds(original.times.lastWrite);
        if (!::SetFileTime(m_handle.Get(), nullptr, &access, &write))
            return false;
    }
    if (attributes) {
        // Zero times in FILE_BASIC_INFO leave the times as they are.
        FILE_BASIC_INFO info{};
        info.FileAttributes = original.attributes & kSettableAttributes;
        if (info.FileAttributes == 0)
            info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        if (!::SetFileInformationByHandle(m_handle.Get(), FileBasicInfo, &info, sizeof info))
            return false;
    }
    return true;
}

bool CWin32WriteFile::Flush()
{
    return m_handle.IsValid() && ::FlushFileBuffers(m_handle.Get()) != FALSE;
}

// A private file keeps its handle: closed, it could be opened by anyone
// before it has replaced the original. WriteFile has already handed every
// byte to the system, so nothing is left for the close to report.
bool CWin32WriteFile::Close()
{
    if (m_private)
        return m_handle.IsValid();
    return m_handle.Close();
}

// The complete file is renamed through its own handle, so it is never closed
// and named at the same moment (checked under Wine 8: FileRenameInfo with
// ReplaceIfExists replaces, and fails on a target that another process holds
// open, leaving it untouched).
bool CWin32WriteFile::MoveTo(const std::wstring& target, bool replaceExisting)
{
    if (!m_private || !m_handle.IsValid())
        return false;
    const std::wstring name = ToWin32Path(target);
    const size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<uint8_t> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = replaceExisting ? TRUE : FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = DWORD(nameBytes);
    std::memcpy(info->FileName, name.c_str(), nameBytes + sizeof(wchar_t));  // terminated, as some paths need
    if (!::SetFileInformationByHandle(m_handle.Get(), FileRenameInfo, info, DWORD(buffer.size())))
        return false;
    m_handle.Close();
    return true;
}

bool CWin32WriteFile::Discard()
{
    if (!m_private || !m_handle.IsValid())
        return false;
    // A kept read-only attribute would refuse the delete.
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    ::SetFileInformationByHandle(m_handle.Get(), FileBasicInfo, &basic, sizeof basic);
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    const bool deleted =
        ::SetFileInformationByHandle(m_handle.Get(), FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
    m_handle.Close();
    return deleted;
}

}  // namespace qlfs
