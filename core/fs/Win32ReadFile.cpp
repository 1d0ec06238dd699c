#include "Win32ReadFile.h"

#include <algorithm>

#include "ReservedDeviceName.h"
#include "Win32FileTime.h"
#include "Win32Path.h"

namespace qlfs {
namespace {
// ReadFile takes a 32-bit count; larger requests are served in pieces.
constexpr size_t kMaxSingleTransfer = size_t(1) << 30;
}  // namespace

std::unique_ptr<IReadFile> CWin32ReadFile::Open(const std::wstring& path)
{
    // A device name opens the device itself, which may block or never end.
    if (IsReservedDeviceName(path))
        return nullptr;
    CFileHandle handle(::CreateFileW(ToWin32Path(path).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle.IsValid() || ::GetFileType(handle.Get()) != FILE_TYPE_DISK)
        return nullptr;
    return std::unique_ptr<IReadFile>(new CWin32ReadFile(std::move(handle)));
}

int64_t CWin32ReadFile::Read(void* buffer, size_t size)
{
    DWORD got = 0;
    if (!::ReadFile(m_handle.Get(), buffer, DWORD(std::min(size, kMaxSingleTransfer)), &got, nullptr))
        return -1;
    return int64_t(got);
}

int64_t CWin32ReadFile::Size()
{
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(m_handle.Get(), &size))
        return -1;
    return int64_t(size.QuadPart);
}

bool CWin32ReadFile::GetMetadata(FileMetadata& metadata)
{
    // The basic information holds all that is needed. GetFileInformationByHandle
    // would also ask for the volume's serial number, which under Wine is a
    // request to the mount manager's process for every file.
    FILE_BASIC_INFO info{};
    if (!::GetFileInformationByHandleEx(m_handle.Get(), FileBasicInfo, &info, sizeof(info)))
        return false;
    metadata.attributes = info.FileAttributes;
    metadata.times.lastAccess = SecondsFromFileTime(FileTimeOf(info.LastAccessTime));
    metadata.times.lastWrite = SecondsFromFileTime(FileTimeOf(info.LastWriteTime));
    return true;
}

}  // namespace qlfs
