#include "Win32WriteFile.h"

#include <algorithm>

#include "Win32Path.h"

namespace qlfs {
namespace {
// WriteFile takes a 32-bit count; larger requests are written in pieces.
constexpr size_t kMaxSingleTransfer = size_t(1) << 30;
}  // namespace

std::unique_ptr<IWriteFile> CWin32WriteFile::Create(const std::wstring& path)
{
    CWin32UniqueHandle handle(::CreateFileW(ToWin32Path(path).c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.IsValid())
        return nullptr;
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

bool CWin32WriteFile::Close()
{
    return m_handle.Close();
}

}  // namespace qlfs
