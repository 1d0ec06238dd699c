#pragma once
// Classes: CComPtr<T>, an owning COM interface pointer.
// Copying adds a reference, moving transfers it, and the address-of operation
// releases the old pointer first, so `hr = Create(..., &ptr)` never leaks.
#include <windows.h>
#include <unknwn.h>
#include <utility>

template <class T>
class CComPtr {
public:
    CComPtr() noexcept = default;
    CComPtr(std::nullptr_t) noexcept {}
    // Adds a reference to a pointer the caller keeps.
    explicit CComPtr(T* p) noexcept : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    CComPtr(const CComPtr& other) noexcept : CComPtr(other.m_p) {}
    CComPtr(CComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    CComPtr& operator=(CComPtr other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~CComPtr() { Release(); }

    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

    T** operator&() noexcept
    {
        Release();
        return &m_p;
    }

    void Release() noexcept
    {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }

    // Takes over a reference the caller already owns.
    void Attach(T* p) noexcept
    {
        Release();
        m_p = p;
    }
    T* Detach() noexcept { return std::exchange(m_p, nullptr); }

    template <class U>
    HRESULT QueryInterface(REFIID iid, CComPtr<U>& out) const noexcept
    {
        if (!m_p)
            return E_POINTER;
        return m_p->QueryInterface(iid, reinterpret_cast<void**>(&out));
    }

private:
    T* m_p = nullptr;
};
