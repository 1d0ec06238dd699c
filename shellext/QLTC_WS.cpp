// The DLL's entry point and its five exports. The widl-generated proxy/stub
// for IMyContextMenu is merged into this DLL; its entry points carry the
// "Prx" prefix and are called first, as a merged proxy expects.
#include <windows.h>
#include <olectl.h>

#include <exception>

#include "CClassesRootOverride.h"
#include "CQLTC_WSModule.h"

extern "C" {
BOOL WINAPI PrxDllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
HRESULT WINAPI PrxDllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv);
HRESULT WINAPI PrxDllCanUnloadNow();
HRESULT WINAPI PrxDllRegisterServer();
HRESULT WINAPI PrxDllUnregisterServer();
}

namespace {

// No exception may leave an export.
template <class Call>
HRESULT Guarded(Call call) {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// "user" without regard to case, compared over five characters so that the
// terminator takes part: "users" or "user1" do not match.
bool IsPerUserCommandLine(LPCWSTR commandLine) {
    return commandLine != nullptr && _wcsnicmp(commandLine, L"user", 5) == 0;
}

// Registration and removal write below HKEY_CLASSES_ROOT (the scripts, the
// type library, the merged proxy/stub); meanwhile that root is pointed at the
// classes of the one scope asked for: the user's for a per-user registration,
// the machine's otherwise.
template <class Call>
HRESULT InClassesOfRegistration(Call call) {
    qlcom::CClassesRootOverride classes;
    const HRESULT hr = classes.Begin(g_module.IsPerUserRegistration() ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE);
    if (FAILED(hr))
        return hr;
    return call();
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (!PrxDllMain(instance, reason, reserved))
        return FALSE;
    if (reason == DLL_PROCESS_ATTACH) {
        g_module.SetInstanceHandle(instance);
        return g_module.IsInitialized() ? TRUE : FALSE;
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
    // The proxy/stub part writes through ppv unchecked.
    if (ppv == nullptr)
        return E_POINTER;
    return Guarded([&] {
        if (PrxDllGetClassObject(clsid, riid, ppv) == S_OK)
            return S_OK;
        return g_module.GetClassObject(clsid, riid, ppv);
    });
}

STDAPI DllCanUnloadNow() {
    const HRESULT hr = PrxDllCanUnloadNow();
    if (hr != S_OK)
        return hr;
    return g_module.CanUnloadNow();
}

STDAPI DllRegisterServer() {
    return Guarded([] {
        return InClassesOfRegistration([] {
            HRESULT hr = g_module.RegisterServer();
            if (SUCCEEDED(hr))
                hr = PrxDllRegisterServer();
            return hr;
        });
    });
}

STDAPI DllUnregisterServer() {
    return Guarded([] {
        return InClassesOfRegistration([] {
            HRESULT hr = g_module.UnregisterServer();
            // Registering first makes sure every proxy key exists, so that the
            // removal that follows does not fail on a half-registered proxy.
            if (SUCCEEDED(hr))
                hr = PrxDllRegisterServer();
            if (SUCCEEDED(hr))
                hr = PrxDllUnregisterServer();
            return hr;
        });
    });
}

STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    if (IsPerUserCommandLine(commandLine))
        g_module.SetPerUserRegistration(true);
    if (!install)
        return DllUnregisterServer();
    const HRESULT hr = DllRegisterServer();
    if (FAILED(hr))
        DllUnregisterServer(); // undo what was written before the failure
    return hr;
}
