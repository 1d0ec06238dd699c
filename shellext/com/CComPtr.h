#pragma once
// CComPtr<T>: owns one reference to a COM object; move-only. Taking the
// address for an out-parameter releases the old pointer first, so an
// interface is never leaked by being overwritten.
#include <unknwn.h>

#include <memory>
#include <utility>

namespace qlcom {

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    ~CComPtr() { Reset(); }
    CComPtr(CComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    CComPtr& operator=(CComPtr&& other) noexcept {
        if (this != std::addressof(other)) {
            Reset();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }
    CComPtr(const CComPtr&) = delete;
    CComPtr& operator=(const CComPtr&) = delete;

    // Takes over a reference the caller already holds.
    static CComPtr Attach(T* p) {
        CComPtr result;
        result.m_p = p;
        return result;
    }

    void Reset() {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    T** operator&() {
        Reset();
        return &m_p;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(operator&()); }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

} // namespace qlcom
