#pragma once
// Classes: CUniqueHandle<Traits> (move-only owner of one Win32 handle) and its
// traits and aliases: CHandle (kernel handle, null when empty), CFileHandle
// (kernel handle, INVALID_HANDLE_VALUE when empty), CFont, CBitmap, CBrush
// (GDI objects), CIcon, CCursor, CAccelerators.
// Handles that belong to the system (shared icons, stock objects, system image
// lists) are never put into these types; keep them as plain handles or views.
#include <windows.h>
#include <utility>

template <class TTraits>
class CUniqueHandle {
public:
    using Handle = typename TTraits::Handle;

    CUniqueHandle() noexcept = default;
    explicit CUniqueHandle(Handle handle) noexcept : m_handle(handle) {}
    CUniqueHandle(CUniqueHandle&& other) noexcept : m_handle(other.Detach()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;
    ~CUniqueHandle() { Reset(); }

    Handle Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != TTraits::Invalid(); }

    // Takes ownership of a new handle, closing the old one first.
    void Reset(Handle handle = TTraits::Invalid()) noexcept
    {
        if (m_handle != TTraits::Invalid())
            TTraits::Close(m_handle);
        m_handle = handle;
    }

    // Gives up ownership without closing.
    Handle Detach() noexcept { return std::exchange(m_handle, TTraits::Invalid()); }

    // For out-parameters: closes the current handle, then exposes the slot.
    Handle* Put() noexcept
    {
        Reset();
        return &m_handle;
    }

private:
    Handle m_handle = TTraits::Invalid();
};

struct CKernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct CFileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

template <class TGdiHandle>
struct CGdiObjectTraits {
    using Handle = TGdiHandle;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};

struct CIconTraits {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};

struct CCursorTraits {
    using Handle = HCURSOR;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyCursor(h); }
};

struct CAcceleratorTraits {
    using Handle = HACCEL;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyAcceleratorTable(h); }
};

using CHandle = CUniqueHandle<CKernelHandleTraits>;
using CFileHandle = CUniqueHandle<CFileHandleTraits>;
using CFont = CUniqueHandle<CGdiObjectTraits<HFONT>>;
using CBitmap = CUniqueHandle<CGdiObjectTraits<HBITMAP>>;
using CBrush = CUniqueHandle<CGdiObjectTraits<HBRUSH>>;
// Only for icons and cursors made with CreateIcon*/LoadImage without LR_SHARED;
// shared ones (LoadIcon, LoadCursor, LR_SHARED) must not be destroyed.
using CIcon = CUniqueHandle<CIconTraits>;
using CCursor = CUniqueHandle<CCursorTraits>;
// Only for tables made with CreateAcceleratorTable; LoadAccelerators tables
// are freed with the module.
using CAccelerators = CUniqueHandle<CAcceleratorTraits>;
