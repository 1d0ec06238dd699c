#pragma once
// CTypeLibUserKeys: a type library's registration written straight into
// HKEY_CURRENT_USER\Software\Classes, and removed from there. The system's
// own routines (RegisterTypeLib, and RegisterTypeLibForUser, which Wine maps
// onto it) also write each interface into the 32-bit registry view; that
// write ignores an HKEY_CLASSES_ROOT override and lands in the machine's
// classes, which a per-user registration must never touch.
#include <windows.h>
#include <oaidl.h>

#include <string>

namespace qlcom {

class CTypeLibUserKeys {
public:
    // TypeLib\{LIBID}\<version> with its path, flags and help folder, and
    // Interface\{IID} for each interface that the type library marshals.
    static HRESULT Write(ITypeLib* library, const std::wstring& path, const std::wstring& helpDir);
    // Removes those keys; an interface key that another library owns stays.
    static HRESULT Remove(const TLIBATTR& attributes, ITypeLib* library);
};

} // namespace qlcom
