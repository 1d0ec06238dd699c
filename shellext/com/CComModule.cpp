#include "CComModule.h"

#include <new>

#include "CClassFactory.h"
#include "CRgsRegistrar.h"
#include "CThreadLocaleScope.h"
#include "CTypeLibRegistrar.h"
#include "CWin32RegistryStore.h"
#include "ModulePath.h"

namespace qlcom {
namespace {

CComModule* g_module = nullptr;

std::wstring GuidString(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, ARRAYSIZE(text));
    return text;
}

} // namespace

CComModule::CComModule(const GUID& libid, const GUID& appid, UINT moduleScriptId,
                       std::span<const CObjectMapEntry> objectMap)
    : m_libid(libid), m_appid(appid), m_moduleScriptId(moduleScriptId), m_objectMap(objectMap),
      m_factories(objectMap.size()) {
    g_module = this;
    m_initialized = true;
}

CComModule::~CComModule() {
    m_factories.clear();
    g_module = nullptr;
}

CComModule& CComModule::Instance() { return *g_module; }

LONG CComModule::Lock() { return InterlockedIncrement(&m_lockCount); }

LONG CComModule::Unlock() { return InterlockedDecrement(&m_lockCount); }

LONG CComModule::GetLockCount() const { return m_lockCount; }

void CComModule::AddCommonRgsReplacements(CRgsRegistrar& registrar) {
    registrar.AddReplacement(L"APPID", GuidString(m_appid));
}

HRESULT CComModule::GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (!m_initialized)
        return E_UNEXPECTED;
    for (std::size_t i = 0; i < m_objectMap.size(); ++i) {
        if (!IsEqualCLSID(*m_objectMap[i].clsid, clsid))
            continue;
        IClassFactory* factory = nullptr;
        {
            CCriticalSectionLock lock(m_objectMapSection);
            if (!m_factories[i]) {
                auto* created = new (std::nothrow) CClassFactory(m_objectMap[i].createInstance);
                if (created == nullptr)
                    return E_OUTOFMEMORY;
                created->AddRef(); // the module's own reference: does not lock the module
                m_factories[i].Attach(created);
            }
            factory = m_factories[i].Get();
        }
        HRESULT hr = factory->QueryInterface(riid, ppv);
        if (SUCCEEDED(hr) && *ppv == nullptr)
            hr = CLASS_E_CLASSNOTAVAILABLE;
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CComModule::CanUnloadNow() const { return m_lockCount == 0 ? S_OK : S_FALSE; }

HRESULT CComModule::GetModulePath(std::wstring& path) const {
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(m_instance, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0)
        return HRESULT_FROM_WIN32(GetLastError());
    if (length >= buffer.size())
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    buffer.resize(length);
    path = std::move(buffer);
    return S_OK;
}

HRESULT CComModule::LoadScript(UINT scriptId, std::wstring& text) const {
    HRSRC found = FindResourceW(m_instance, MAKEINTRESOURCEW(scriptId), L"REGISTRY");
    if (found == nullptr)
        return HRESULT_FROM_WIN32(GetLastError());
    HGLOBAL loaded = LoadResource(m_instance, found);
    const DWORD size = SizeofResource(m_instance, found);
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (bytes == nullptr)
        return HRESULT_FROM_WIN32(GetLastError());
    text.clear();
    if (size == 0)
        return S_OK;
    // The scripts are ANSI text in the thread's code page (set by the caller).
    const int chars = MultiByteToWideChar(CP_THREAD_ACP, 0, bytes, static_cast<int>(size), nullptr, 0);
    if (chars <= 0)
        return HRESULT_FROM_WIN32(GetLastError());
    text.resize(chars);
    MultiByteToWideChar(CP_THREAD_ACP, 0, bytes, static_cast<int>(size), text.data(), chars);
    return S_OK;
}

HRESULT CComModule::RunScript(UINT scriptId, bool registering) {
    std::wstring path;
    HRESULT hr = GetModulePath(path);
    if (FAILED(hr))
        return hr;
    std::wstring modulePath;
    if (!MakeModuleReplacement(path, modulePath))
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    std::wstring script;
    if (FAILED(hr = LoadScript(scriptId, script)))
        return hr;

    CWin32RegistryStore store;
    CRgsRegistrar registrar(store);
    registrar.SetPerUser(m_perUser);
    registrar.AddReplacement(L"Module", modulePath);
    registrar.AddReplacement(L"Module_Raw", modulePath);
    AddCommonRgsReplacements(registrar);
    return registrar.Run(script, registering);
}

HRESULT CComModule::RegisterServer() {
    CThreadLocaleScope locale(LOCALE_SYSTEM_DEFAULT);
    HRESULT hr = RunScript(m_moduleScriptId, true);
    for (std::size_t i = 0; SUCCEEDED(hr) && i < m_objectMap.size(); ++i)
        hr = RunScript(m_objectMap[i].classScriptId, true);
    std::wstring path;
    if (SUCCEEDED(hr))
        hr = GetModulePath(path);
    if (SUCCEEDED(hr))
        hr = CTypeLibRegistrar::Register(path, m_perUser);
    return hr;
}

HRESULT CComModule::UnregisterServer() {
    CThreadLocaleScope locale(LOCALE_SYSTEM_DEFAULT);
    HRESULT hr = S_OK;
    for (std::size_t i = 0; SUCCEEDED(hr) && i < m_objectMap.size(); ++i)
        hr = RunScript(m_objectMap[i].classScriptId, false);
    std::wstring path;
    if (SUCCEEDED(hr))
        hr = GetModulePath(path);
    if (SUCCEEDED(hr))
        hr = CTypeLibRegistrar::Unregister(path, m_perUser);
    if (SUCCEEDED(hr))
        hr = RunScript(m_moduleScriptId, false);
    return hr;
}

} // namespace qlcom
