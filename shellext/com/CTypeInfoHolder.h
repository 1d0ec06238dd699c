#pragma once
// CTypeInfoHolder: the type information of one dual interface, loaded from
// the registered type library on first use (or, when the library is not
// registered, from the module itself) and kept until the DLL unloads.
#include <windows.h>
#include <oaidl.h>

#include "CComPtr.h"

namespace qlcom {

class CTypeInfoHolder {
public:
    CTypeInfoHolder(const IID& iid, const GUID& libid, WORD major, WORD minor);

    // An added reference to the type information.
    HRESULT GetTypeInfo(ITypeInfo** info);

private:
    HRESULT Load();

    const IID& m_iid;
    const GUID& m_libid;
    WORD m_major;
    WORD m_minor;
    CComPtr<ITypeInfo> m_info;
};

} // namespace qlcom
