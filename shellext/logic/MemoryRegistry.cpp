#include "MemoryRegistry.h"

#include <cstring>

namespace qlshell {

// A handle on one key of the in-memory registry. It reads the registry's
// current content at each query, as a real key handle would.
class CMemoryRegistry::CKey : public IRegistryKey {
public:
    CKey(CMemoryRegistry& owner, std::wstring path, std::shared_ptr<int> openKeys)
        : m_owner(owner), m_path(std::move(path)), m_openKeys(std::move(openKeys)) {
        ++*m_openKeys;
    }
    ~CKey() override { --*m_openKeys; }
    CKey(const CKey&) = delete;
    CKey& operator=(const CKey&) = delete;

    int32_t QueryValue(const wchar_t* name, uint32_t& type, void* data, uint32_t& size) override {
        auto key = m_owner.m_keys.find(m_path);
        if (key == m_owner.m_keys.end()) return kErrorFileNotFound;
        auto value = key->second.find(Normalise(name ? name : L""));
        if (value == key->second.end()) return kErrorFileNotFound;
        const Value& v = value->second;
        type = v.type;
        const uint32_t needed = static_cast<uint32_t>(v.data.size());
        if (data == nullptr) {
            size = needed;
            return kErrorSuccess;
        }
        if (needed > size) {
            size = needed;
            return kErrorMoreData;
        }
        if (needed > 0) std::memcpy(data, v.data.data(), needed);
        size = needed;
        return kErrorSuccess;
    }

private:
    CMemoryRegistry& m_owner;
    std::wstring m_path;
    std::shared_ptr<int> m_openKeys;
};

CMemoryRegistry::CMemoryRegistry() : m_openKeys(std::make_shared<int>(0)) { m_keys[L""]; }

CMemoryRegistry::~CMemoryRegistry() = default;

// Registry names compare without regard to case; A-Z is enough for tests.
std::wstring CMemoryRegistry::Normalise(const std::wstring& path) {
    std::wstring result = path;
    for (wchar_t& c : result) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
    }
    return result;
}

void CMemoryRegistry::CreateKey(const std::wstring& subKey) {
    const std::wstring path = Normalise(subKey);
    for (size_t at = path.find(L'\\'); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        m_keys[path.substr(0, at)];
    }
    m_keys[path];
}

void CMemoryRegistry::DeleteKey(const std::wstring& subKey) {
    const std::wstring path = Normalise(subKey);
    const std::wstring below = path + L"\\";
    for (auto it = m_keys.begin(); it != m_keys.end();) {
        if (it->first == path || it->first.compare(0, below.size(), below) == 0) {
            it = m_keys.erase(it);
        } else {
            ++it;
        }
    }
}

void CMemoryRegistry::SetValue(const std::wstring& subKey, const std::wstring& name, uint32_t type,
                               std::vector<uint8_t> data) {
    CreateKey(subKey);
    m_keys[Normalise(subKey)][Normalise(name)] = Value{type, std::move(data)};
}

void CMemoryRegistry::SetString(const std::wstring& subKey, const std::wstring& name,
                                const std::wstring& text, uint32_t type) {
    std::vector<uint8_t> bytes = Utf16Bytes(text);
    bytes.insert(bytes.end(), {0, 0});
    SetValue(subKey, name, type, std::move(bytes));
}

void CMemoryRegistry::SetDword(const std::wstring& subKey, const std::wstring& name, uint32_t value) {
    SetValue(subKey, name, kRegDword,
             {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)});
}

void CMemoryRegistry::DeleteValue(const std::wstring& subKey, const std::wstring& name) {
    auto key = m_keys.find(Normalise(subKey));
    if (key != m_keys.end()) key->second.erase(Normalise(name));
}

int CMemoryRegistry::OpenKeyCount() const { return *m_openKeys; }

std::unique_ptr<IRegistryKey> CMemoryRegistry::OpenAppKey(const std::wstring& subKey) {
    const std::wstring path = Normalise(subKey);
    ++m_opensSoFar;
    if (m_keys.find(path) == m_keys.end()) return nullptr;
    return std::make_unique<CKey>(*this, path, m_openKeys);
}

std::unique_ptr<IRegistryKey> CMemoryRegistry::OpenMachineAppKey() {
    return m_machine ? m_machine->OpenAppKey(L"") : nullptr;
}

std::vector<uint8_t> CMemoryRegistry::Utf16Bytes(const std::wstring& text) {
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (wchar_t c : text) {
        const auto unit = static_cast<uint16_t>(c);
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

}  // namespace qlshell
