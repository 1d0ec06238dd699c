#pragma once
// CComObject<T> completes a COM class T with its IUnknown: alone it counts its
// own references; aggregated it forwards every IUnknown call of its interfaces
// to the controlling object and gives that object a separate, non-delegating
// IUnknown (NonDelegatingUnknown) that owns the lifetime.
//
// T derives from its interfaces and provides
//   HRESULT FinalConstruct();                          // after construction
//   HRESULT InternalQueryInterface(REFIID, void**);    // its interface table
// Objects live in one single-threaded apartment, so the count is a plain
// counter. Each live object holds one lock on the module.
#include <windows.h>

#include <new>

#include "CComModule.h"

namespace qlcom {

// Holds one module lock; as the first base it is taken before the object is
// built and given back only after the object is completely destroyed.
class CModuleLock {
protected:
    CModuleLock() { CComModule::Instance().Lock(); }
    ~CModuleLock() { CComModule::Instance().Unlock(); }
};

template <class T>
class CComObject final : private CModuleLock, public T {
public:
    explicit CComObject(IUnknown* outer) : m_outer(outer), m_inner(*this) {}
    ~CComObject() override = default;
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    // Creates an object, runs FinalConstruct and asks it for riid; on any
    // failure the new object is destroyed and the failure returned.
    static HRESULT Create(IUnknown* outer, REFIID riid, void** ppv) {
        *ppv = nullptr;
        auto* object = new (std::nothrow) CComObject(outer);
        if (object == nullptr)
            return E_OUTOFMEMORY;
        // A temporary reference keeps the object alive while FinalConstruct runs.
        object->InnerAddRef();
        HRESULT hr = object->FinalConstruct();
        if (SUCCEEDED(hr))
            hr = object->m_inner.QueryInterface(riid, ppv);
        object->InnerRelease();
        return hr;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        return m_outer ? m_outer->QueryInterface(riid, ppv) : m_inner.QueryInterface(riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_outer ? m_outer->AddRef() : InnerAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_outer ? m_outer->Release() : InnerRelease(); }

private:
    class CInnerUnknown final : public IUnknown {
    public:
        explicit CInnerUnknown(CComObject& owner) : m_owner(owner) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
            if (ppv == nullptr)
                return E_POINTER;
            if (m_owner.m_outer != nullptr && IsEqualIID(riid, IID_IUnknown)) {
                *ppv = static_cast<IUnknown*>(this);
                AddRef();
                return S_OK;
            }
            return m_owner.InternalQueryInterface(riid, ppv);
        }
        STDMETHODIMP_(ULONG) AddRef() override { return m_owner.InnerAddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return m_owner.InnerRelease(); }

    private:
        CComObject& m_owner;
    };

    ULONG InnerAddRef() { return ++m_refs; }
    ULONG InnerRelease() {
        const ULONG refs = --m_refs;
        if (refs == 0)
            delete this;
        return refs;
    }

    ULONG m_refs = 0;
    IUnknown* m_outer; // not owned: the controlling object owns us
    CInnerUnknown m_inner;
};

} // namespace qlcom
