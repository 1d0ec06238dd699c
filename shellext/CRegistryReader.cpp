#include "CRegistryReader.h"

#include <windows.h>

#include "CRegKey.h"

namespace {

class COpenKey final : public qlshell::IRegistryKey {
public:
    explicit COpenKey(CRegKey key) : m_key(std::move(key)) {}

    int32_t QueryValue(const wchar_t* name, uint32_t& type, void* data, uint32_t& size) override {
        DWORD valueType = REG_NONE;
        DWORD valueSize = size;
        const LSTATUS status =
            RegQueryValueExW(m_key.Get(), name, nullptr, &valueType, static_cast<BYTE*>(data), &valueSize);
        type = valueType;
        size = valueSize;
        return status;
    }

private:
    CRegKey m_key;
};

std::unique_ptr<qlshell::IRegistryKey> OpenForQuery(HKEY root, const std::wstring& path) {
    CRegKey key;
    if (key.Open(root, path.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<COpenKey>(std::move(key));
}

} // namespace

std::unique_ptr<qlshell::IRegistryKey> CRegistryReader::OpenAppKey(const std::wstring& subKey) {
    std::wstring path = qlshell::kAppKeyPath;
    if (!subKey.empty())
        path += L"\\" + subKey;
    return OpenForQuery(HKEY_CURRENT_USER, path);
}

std::unique_ptr<qlshell::IRegistryKey> CRegistryReader::OpenMachineAppKey() {
    return OpenForQuery(HKEY_LOCAL_MACHINE, qlshell::kAppKeyPath);
}
