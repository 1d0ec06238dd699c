#include "Win32ReadFile.h"

#include <algorithm>

#include "Win32Path.h"

namespace qlfs {
namespace {
// ReadFile takes a 32-bit count; larger requests are served in pieces.
constexpr size_t kMaxSingleTransfer = size_t(1) << 30;
}  // namespace

std::unique_ptr<IReadFile> CWin32ReadFile::Open(const std::wstring& path)
{
    CWin32UniqueHandle handle(::CreateFileW(ToWin32Path(path).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle.IsValid())
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

}  // namespace qlfs
