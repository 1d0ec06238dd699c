#include "Win32WriteFile.h"

#include <algorithm>

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
    // CREATE_NEW claims the name: two runs can never write the same file.
    const std::wstring win32Path = ToWin32Path(path);
    CFileHandle handle(::CreateFileW(win32Path.c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    nameTaken = false;
    if (!handle.IsValid()) {
        DWORD error = ::GetLastError();
        // A folder of that name gives "access denied", but the name is taken all the same.
        nameTaken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                    ::GetFileAttributesW(win32Path.c_str()) != INVALID_FILE_ATTRIBUTES;
        return nullptr;
    }
    return std::unique_ptr<IWriteFile>(new CWin32WriteFile(std::move(handle)));
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

bool CWin32WriteFile::Close()
{
    return m_handle.Close();
}

}  // namespace qlfs
