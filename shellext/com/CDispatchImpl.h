#pragma once
// CDispatchImpl<Interface>: IDispatch for a dual interface, answered from its
// type information (CTypeInfoHolder). There is one type description, index 0.
#include <windows.h>
#include <oaidl.h>

#include "CTypeInfoHolder.h"

namespace qlcom {

template <class Interface, const IID* piid, const GUID* plibid, WORD major, WORD minor>
class CDispatchImpl : public Interface {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count == nullptr)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (info == nullptr)
            return E_POINTER;
        *info = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        return Holder().GetTypeInfo(info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        CComPtr<ITypeInfo> info;
        const HRESULT hr = Holder().GetTypeInfo(&info);
        return FAILED(hr) ? hr : info->GetIDsOfNames(names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override {
        if (!IsEqualIID(riid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        CComPtr<ITypeInfo> info;
        const HRESULT hr = Holder().GetTypeInfo(&info);
        return FAILED(hr) ? hr
                          : info->Invoke(static_cast<Interface*>(this), id, flags, params, result, exception, argError);
    }

private:
    static CTypeInfoHolder& Holder() {
        static CTypeInfoHolder holder(*piid, *plibid, major, minor);
        return holder;
    }
};

} // namespace qlcom
