/* Declarations the widl-generated proxy needs and mingw-w64's rpcproxy.h
   lacks: rpcrt4's standard IUnknown proxies. Forced into the generated
   proxy source only. */
#pragma once
#include <rpcproxy.h>

#ifdef __cplusplus
extern "C" {
#endif
HRESULT STDMETHODCALLTYPE IUnknown_QueryInterface_Proxy(IUnknown* This, REFIID riid, void** ppvObject);
ULONG STDMETHODCALLTYPE IUnknown_AddRef_Proxy(IUnknown* This);
ULONG STDMETHODCALLTYPE IUnknown_Release_Proxy(IUnknown* This);
#ifdef __cplusplus
}
#endif
