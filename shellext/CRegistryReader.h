#pragma once
// CRegistryReader: the handler logic's read-only view of the program's key
// (HKEY_CURRENT_USER\Software\Varnel\Quillet, and the machine's key of the
// same name) over the Win32 registry.
#include "IRegistryReader.h"

class CRegistryReader : public qlshell::IRegistryReader {
public:
    std::unique_ptr<qlshell::IRegistryKey> OpenAppKey(const std::wstring& subKey) override;
    std::unique_ptr<qlshell::IRegistryKey> OpenMachineAppKey() override;
};
