#pragma once
// An in-memory stand-in for the program's registry key, for tests: keys and
// values are held as raw bytes and answered with RegQueryValueExW's rules,
// including kErrorMoreData for a buffer that is too small.
#include "IRegistryReader.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qlshell {

class CMemoryRegistry : public IRegistryReader {
public:
    CMemoryRegistry();
    ~CMemoryRegistry() override;
    CMemoryRegistry(const CMemoryRegistry&) = delete;
    CMemoryRegistry& operator=(const CMemoryRegistry&) = delete;

    // Creates the key (and, like RegCreateKeyExW, every key above it).
    void CreateKey(const std::wstring& subKey);
    // Removes the key and everything below it.
    void DeleteKey(const std::wstring& subKey);
    // Stores raw bytes under `name`, creating the key.
    void SetValue(const std::wstring& subKey, const std::wstring& name, uint32_t type,
                  std::vector<uint8_t> data);
    // Stores `text` and its terminator as UTF-16 (one code unit per wchar_t).
    void SetString(const std::wstring& subKey, const std::wstring& name, const std::wstring& text,
                   uint32_t type = kRegSz);
    void SetDword(const std::wstring& subKey, const std::wstring& name, uint32_t value);
    void DeleteValue(const std::wstring& subKey, const std::wstring& name);

    // Keys opened through OpenAppKey and not yet closed.
    int OpenKeyCount() const;
    // Keys opened through OpenAppKey since this registry was made.
    int OpensSoFar() const { return m_opensSoFar; }

    std::unique_ptr<IRegistryKey> OpenAppKey(const std::wstring& subKey) override;
    // The machine's key is the root ("") of `machine`, once one is given.
    std::unique_ptr<IRegistryKey> OpenMachineAppKey() override;
    void UseMachineHive(CMemoryRegistry& machine) { m_machine = &machine; }

    // UTF-16 bytes of `text` without a terminator, one code unit per wchar_t.
    static std::vector<uint8_t> Utf16Bytes(const std::wstring& text);

private:
    struct Value {
        uint32_t type = kRegNone;
        std::vector<uint8_t> data;
    };
    using ValueMap = std::map<std::wstring, Value>;
    class CKey;

    static std::wstring Normalise(const std::wstring& path);

    std::map<std::wstring, ValueMap> m_keys;  // normalised key path -> values
    std::shared_ptr<int> m_openKeys;
    CMemoryRegistry* m_machine = nullptr;  // not owned
    int m_opensSoFar = 0;
};

}  // namespace qlshell
