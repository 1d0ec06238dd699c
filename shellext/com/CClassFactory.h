#pragma once
// CClassFactory: the cached class factory of one object-map entry. The module
// keeps the first reference for as long as it lives; that reference does not
// keep the DLL loaded, but every outside reference does (the count going from
// 1 to 2 locks the module, dropping back to 1 unlocks it).
#include <windows.h>
#include <objbase.h>

#include "CObjectMapEntry.h"

namespace qlcom {

class CClassFactory final : public IClassFactory {
public:
    explicit CClassFactory(CreateInstanceFunction createInstance);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IClassFactory
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ~CClassFactory() = default;

    volatile LONG m_refs = 0;
    CreateInstanceFunction m_createInstance;
};

} // namespace qlcom
