#pragma once
// Owning wrappers for the two kinds of Win32 handle the file-system layer opens:
// kernel handles (CloseHandle) and find handles (FindClose).
#include <windows.h>

#include <utility>

namespace qlfs {

template <typename Traits>
class CWin32Handle {
public:
    CWin32Handle() = default;
    explicit CWin32Handle(HANDLE handle) : m_handle(handle) {}
    CWin32Handle(CWin32Handle&& other) noexcept : m_handle(std::exchange(other.m_handle, INVALID_HANDLE_VALUE)) {}
    CWin32Handle& operator=(CWin32Handle&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_handle = std::exchange(other.m_handle, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    CWin32Handle(const CWin32Handle&) = delete;
    CWin32Handle& operator=(const CWin32Handle&) = delete;
    ~CWin32Handle() { Close(); }

    HANDLE Get() const { return m_handle; }
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }

    // False when the system reports an error on closing.
    bool Close()
    {
        if (!IsValid())
            return true;
        return Traits::Close(std::exchange(m_handle, INVALID_HANDLE_VALUE));
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

struct CKernelHandleTraits {
    static bool Close(HANDLE handle) { return ::CloseHandle(handle) != FALSE; }
};
struct CFindHandleTraits {
    static bool Close(HANDLE handle) { return ::FindClose(handle) != FALSE; }
};

using CWin32UniqueHandle = CWin32Handle<CKernelHandleTraits>;
using CWin32FindHandle = CWin32Handle<CFindHandleTraits>;

}  // namespace qlfs
