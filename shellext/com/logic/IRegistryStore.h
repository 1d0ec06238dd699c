#pragma once
// The registry operations the registrar needs, addressed by root and a
// backslash-separated path. Every operation returns a Win32 error code
// (0 on success, kWin32FileNotFound when the key or value is absent).
#include <string>

#include "RgsScript.h"

namespace qlcom {

class IRegistryStore {
public:
    virtual ~IRegistryStore() = default;
    virtual long CreateKey(RegRoot root, const std::wstring& path) = 0;
    virtual long KeyExists(RegRoot root, const std::wstring& path, bool& exists) = 0;
    virtual long HasSubkeys(RegRoot root, const std::wstring& path, bool& hasSubkeys) = 0;
    // Deletes one key that has no subkeys.
    virtual long DeleteKey(RegRoot root, const std::wstring& path) = 0;
    // Deletes a key with everything under it.
    virtual long DeleteTree(RegRoot root, const std::wstring& path) = 0;
    // An empty name addresses the key's default value.
    virtual long SetValue(RegRoot root, const std::wstring& path, const std::wstring& name,
                          const CRgsValue& value) = 0;
    virtual long DeleteValue(RegRoot root, const std::wstring& path, const std::wstring& name) = 0;
};

} // namespace qlcom
