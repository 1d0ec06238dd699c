#include "CClassFactory.h"

#include <new>

#include "CComModule.h"

namespace qlcom {

CClassFactory::CClassFactory(CreateInstanceFunction createInstance) : m_createInstance(createInstance) {}

STDMETHODIMP CClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CClassFactory::AddRef() {
    const LONG refs = InterlockedIncrement(&m_refs);
    if (refs == 2)
        CComModule::Instance().Lock();
    return static_cast<ULONG>(refs);
}

STDMETHODIMP_(ULONG) CClassFactory::Release() {
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 1)
        CComModule::Instance().Unlock();
    else if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

STDMETHODIMP CClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    // An aggregated object can only hand its controlling object the inner IUnknown.
    if (outer != nullptr && !IsEqualIID(riid, IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    try {
        return m_createInstance(outer, riid, ppv);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

STDMETHODIMP CClassFactory::LockServer(BOOL lock) {
    if (lock)
        CComModule::Instance().Lock();
    else
        CComModule::Instance().Unlock();
    return S_OK;
}

} // namespace qlcom
