#pragma once
// One class the server offers: its CLSID, the registry script (a "REGISTRY"
// resource) that registers it, and the function that creates an instance.
#include <windows.h>
#include <objbase.h>

namespace qlcom {

// Creates an instance, aggregated when `outer` is given (riid is then IID_IUnknown).
using CreateInstanceFunction = HRESULT (*)(IUnknown* outer, REFIID riid, void** ppv);

struct CObjectMapEntry {
    const CLSID* clsid;
    UINT classScriptId;
    CreateInstanceFunction createInstance;
};

} // namespace qlcom
