#pragma once
// Classes: CUniqueHandle<Traits> (move-only owner of one Win32 handle) and its
// traits and aliases: CHandle (kernel handle, null when empty), CFileHandle
// (kernel handle, INVALID_HANDLE_VALUE when empty), CFindHandle (FindFirstFile),
// CFont, CBitmap, CBrush (GDI objects), CIcon, CCursor, CAccelerators. The menu
// and registry-key traits serve CMenu and CRegKey.
// Handles that belong to the system (shared icons, stock objects, system image
// lists) are never put into these types; keep them as plain handles or views.
#include <windows.h>
#include <utility>

// A traits type names the Handle type, the value an empty owner holds
// (Invalid), which values are owned handles (IsValid) and how to close one
// (Close, false when the system reports an error).
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
    ~CUniqueHandle() { Close(); }

    Handle Get() const noexcept { return m_handle; }
    bool IsValid() const noexcept { return TTraits::IsValid(m_handle); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Closes the handle now; false when the system reports an error (for a
    // written file that can be the first sign of lost data). Empty afterwards.
    bool Close() noexcept
    {
        Handle handle = Detach();
        return !TTraits::IsValid(handle) || TTraits::Close(handle);
    }

    // Takes ownership of a new handle, closing the old one first.
    void Reset(Handle handle = TTraits::Invalid()) noexcept
    {
        Close();
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

// Most handle types are empty when null.
template <class THandle>
struct CNullEmptyTraits {
    using Handle = THandle;
    static Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
};

// Kernel functions fail with null (CreateThread, CreateEvent) or with
// INVALID_HANDLE_VALUE (CreateFile, FindFirstFile); neither is ever closed,
// whichever kind of owner it ends up in.
struct CKernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) noexcept { return ::CloseHandle(h) != FALSE; }
};

struct CFileHandleTraits : CKernelHandleTraits {
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
};

struct CFindHandleTraits : CFileHandleTraits {
    static bool Close(Handle h) noexcept { return ::FindClose(h) != FALSE; }
};

template <class TGdiHandle>
struct CGdiObjectTraits : CNullEmptyTraits<TGdiHandle> {
    static bool Close(TGdiHandle h) noexcept { return ::DeleteObject(h) != FALSE; }
};

struct CIconTraits : CNullEmptyTraits<HICON> {
    static bool Close(HICON h) noexcept { return ::DestroyIcon(h) != FALSE; }
};

struct CCursorTraits : CNullEmptyTraits<HCURSOR> {
    static bool Close(HCURSOR h) noexcept { return ::DestroyCursor(h) != FALSE; }
};

struct CAcceleratorTraits : CNullEmptyTraits<HACCEL> {
    static bool Close(HACCEL h) noexcept { return ::DestroyAcceleratorTable(h) != FALSE; }
};

// Destroys the menu with all its popups.
struct CMenuTraits : CNullEmptyTraits<HMENU> {
    static bool Close(HMENU h) noexcept { return ::DestroyMenu(h) != FALSE; }
};

// The predefined root keys belong to the process: an owner may hold one (a
// caller's parent key) but never closes it.
struct CRegKeyTraits : CNullEmptyTraits<HKEY> {
    static bool IsPredefined(HKEY h) noexcept
    {
        return h == HKEY_CLASSES_ROOT || h == HKEY_CURRENT_USER || h == HKEY_LOCAL_MACHINE ||
               h == HKEY_USERS || h == HKEY_CURRENT_CONFIG;
    }
    static bool Close(HKEY h) noexcept { return IsPredefined(h) || ::RegCloseKey(h) == ERROR_SUCCESS; }
};

using CHandle = CUniqueHandle<CKernelHandleTraits>;
using CFileHandle = CUniqueHandle<CFileHandleTraits>;
using CFindHandle = CUniqueHandle<CFindHandleTraits>;
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
