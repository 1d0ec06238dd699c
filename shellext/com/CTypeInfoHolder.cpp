#include "CTypeInfoHolder.h"

#include <oleauto.h>

#include <string>

#include "CComModule.h"
#include "CCriticalSection.h"

namespace qlcom {

CTypeInfoHolder::CTypeInfoHolder(const IID& iid, const GUID& libid, WORD major, WORD minor)
    : m_iid(iid), m_libid(libid), m_major(major), m_minor(minor) {}

HRESULT CTypeInfoHolder::GetTypeInfo(ITypeInfo** info) {
    if (info == nullptr)
        return E_POINTER;
    *info = nullptr;
    CCriticalSectionLock lock(CComModule::Instance().TypeInfoSection());
    if (!m_info) {
        const HRESULT hr = Load();
        if (FAILED(hr))
            return hr;
    }
    *info = m_info.Get();
    (*info)->AddRef();
    return S_OK;
}

HRESULT CTypeInfoHolder::Load() {
    CComPtr<ITypeLib> library;
    HRESULT hr = LoadRegTypeLib(m_libid, m_major, m_minor, LOCALE_NEUTRAL, &library);
    if (FAILED(hr)) {
        std::wstring path;
        if (FAILED(CComModule::Instance().GetModulePath(path)))
            return hr;
        hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
        if (FAILED(hr))
            return hr;
    }
    return library->GetTypeInfoOfGuid(m_iid, &m_info);
}

} // namespace qlcom
