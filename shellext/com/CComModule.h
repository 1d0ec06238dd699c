#pragma once
// CComModule: the in-process server's module. It keeps the lock count that
// decides whether the DLL may unload, hands out the cached class factories
// of its object map, and registers the server from its "REGISTRY" scripts
// and its type library. One instance per DLL, a static object of the class
// derived for the server.
#include <windows.h>
#include <objbase.h>

#include <span>
#include <string>
#include <vector>

#include "CComPtr.h"
#include "CCriticalSection.h"
#include "CObjectMapEntry.h"

namespace qlcom {

class CRgsRegistrar;

class CComModule {
public:
    CComModule(const GUID& libid, const GUID& appid, UINT moduleScriptId, std::span<const CObjectMapEntry> objectMap);
    virtual ~CComModule();
    CComModule(const CComModule&) = delete;
    CComModule& operator=(const CComModule&) = delete;

    // The one module of this DLL.
    static CComModule& Instance();

    virtual LONG Lock();
    virtual LONG Unlock();
    virtual LONG GetLockCount() const;
    // Replacements every script may use; the module adds "APPID".
    virtual void AddCommonRgsReplacements(CRgsRegistrar& registrar);

    void SetInstanceHandle(HINSTANCE instance) { m_instance = instance; }
    HINSTANCE InstanceHandle() const { return m_instance; }
    bool IsInitialized() const { return m_initialized; }
    const GUID& TypeLibraryId() const { return m_libid; }
    CCriticalSection& TypeInfoSection() { return m_typeInfoSection; }
    // Per-user registration stays on until the DLL unloads.
    void SetPerUserRegistration(bool perUser) { m_perUser = perUser; }
    bool IsPerUserRegistration() const { return m_perUser; }

    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv);
    // S_OK when no object, outside factory reference or server lock is alive.
    HRESULT CanUnloadNow() const;
    HRESULT RegisterServer();
    HRESULT UnregisterServer();
    // This DLL's full path; fails when it cannot be had whole.
    HRESULT GetModulePath(std::wstring& path) const;

private:
    HRESULT RunScript(UINT scriptId, bool registering);
    HRESULT LoadScript(UINT scriptId, std::wstring& text) const;

    volatile LONG m_lockCount = 0;
    HINSTANCE m_instance = nullptr;
    GUID m_libid;
    GUID m_appid;
    UINT m_moduleScriptId;
    std::span<const CObjectMapEntry> m_objectMap;
    std::vector<CComPtr<IClassFactory>> m_factories; // one per map entry, created on first request
    CCriticalSection m_objectMapSection;
    CCriticalSection m_typeInfoSection;
    bool m_perUser = false;
    bool m_initialized = false;
};

} // namespace qlcom
