#pragma once
// Registers and unregisters the type library bound into the DLL, for the
// machine or for the current user. Per user, every key goes below
// HKEY_CURRENT_USER\Software\Classes, also where the system's per-user
// function is missing.
#include <windows.h>
#include <oaidl.h>

#include <string>

namespace qlcom {

class CTypeLibRegistrar {
public:
    // Loads the library from the module (or from the same path ending in
    // ".tlb") and registers it.
    static HRESULT Register(const std::wstring& modulePath, bool perUser);
    // Removes the library's registration; a library that is not registered
    // counts as removed, so unregistering twice succeeds.
    static HRESULT Unregister(const std::wstring& modulePath, bool perUser);

private:
    static HRESULT Load(const std::wstring& modulePath, ITypeLib** library, std::wstring& loadedPath);
};

} // namespace qlcom
