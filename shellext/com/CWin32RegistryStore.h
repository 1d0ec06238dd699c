#pragma once
// The registrar's registry store over the Win32 registry functions.
#include <windows.h>

#include "IRegistryStore.h"

namespace qlcom {

class CWin32RegistryStore : public IRegistryStore {
public:
    long CreateKey(RegRoot root, const std::wstring& path) override;
    long KeyExists(RegRoot root, const std::wstring& path, bool& exists) override;
    long HasSubkeys(RegRoot root, const std::wstring& path, bool& hasSubkeys) override;
    long DeleteKey(RegRoot root, const std::wstring& path) override;
    long DeleteTree(RegRoot root, const std::wstring& path) override;
    long SetValue(RegRoot root, const std::wstring& path, const std::wstring& name,
                  const CRgsValue& value) override;
    long DeleteValue(RegRoot root, const std::wstring& path, const std::wstring& name) override;

    static HKEY RootKey(RegRoot root);
};

} // namespace qlcom
