#include "CMemoryRegistryStore.h"

#include <cwctype>

namespace qlcom {
namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

void DumpKey(const CMemoryRegistryStore::Key& key, const std::wstring& path, std::wstring& out) {
    out += L"[" + path + L"]\n";
    for (const auto& [name, value] : key.values)
        out += L"  " + name + L"=" + value.text + L"/" + std::to_wstring(value.number) + L"\n";
    for (const auto& [name, sub] : key.subkeys)
        DumpKey(*sub, path + L"\\" + name, out);
}

} // namespace

CMemoryRegistryStore::Key* CMemoryRegistryStore::Walk(RegRoot root, const std::wstring& path, bool create,
                                                      Key** parent, std::wstring* leaf) {
    Key* key = &m_roots[root];
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        const std::wstring part = Lower(path.substr(start, end - start));
        if (parent)
            *parent = key;
        if (leaf)
            *leaf = part;
        auto found = key->subkeys.find(part);
        if (found == key->subkeys.end()) {
            if (!create)
                return nullptr;
            found = key->subkeys.emplace(part, std::make_unique<Key>()).first;
        }
        key = found->second.get();
        start = end + 1;
    }
    return key;
}

long CMemoryRegistryStore::CreateKey(RegRoot root, const std::wstring& path) {
    if (!m_failPath.empty() && Lower(path) == Lower(m_failPath))
        return m_failError;
    ++m_writes;
    Walk(root, path, true, nullptr, nullptr);
    return kWin32Success;
}

long CMemoryRegistryStore::KeyExists(RegRoot root, const std::wstring& path, bool& exists) {
    exists = Walk(root, path, false, nullptr, nullptr) != nullptr;
    return kWin32Success;
}

long CMemoryRegistryStore::HasSubkeys(RegRoot root, const std::wstring& path, bool& hasSubkeys) {
    const Key* key = Walk(root, path, false, nullptr, nullptr);
    if (key == nullptr)
        return kWin32FileNotFound;
    hasSubkeys = !key->subkeys.empty();
    return kWin32Success;
}

long CMemoryRegistryStore::DeleteKey(RegRoot root, const std::wstring& path) {
    Key* parent = nullptr;
    std::wstring leaf;
    const Key* key = Walk(root, path, false, &parent, &leaf);
    if (key == nullptr)
        return kWin32FileNotFound;
    if (!key->subkeys.empty())
        return 5; // ERROR_ACCESS_DENIED, as the real call gives
    ++m_writes;
    parent->subkeys.erase(leaf);
    return kWin32Success;
}

long CMemoryRegistryStore::DeleteTree(RegRoot root, const std::wstring& path) {
    Key* parent = nullptr;
    std::wstring leaf;
    if (Walk(root, path, false, &parent, &leaf) == nullptr)
        return kWin32FileNotFound;
    ++m_writes;
    parent->subkeys.erase(leaf);
    return kWin32Success;
}

long CMemoryRegistryStore::SetValue(RegRoot root, const std::wstring& path, const std::wstring& name,
                                    const CRgsValue& value) {
    Key* key = Walk(root, path, false, nullptr, nullptr);
    if (key == nullptr)
        return kWin32FileNotFound;
    ++m_writes;
    key->values[Lower(name)] = value;
    return kWin32Success;
}

long CMemoryRegistryStore::DeleteValue(RegRoot root, const std::wstring& path, const std::wstring& name) {
    Key* key = Walk(root, path, false, nullptr, nullptr);
    if (key == nullptr || key->values.erase(Lower(name)) == 0)
        return kWin32FileNotFound;
    ++m_writes;
    return kWin32Success;
}

const CMemoryRegistryStore::Key* CMemoryRegistryStore::Find(RegRoot root, const std::wstring& path) const {
    return const_cast<CMemoryRegistryStore*>(this)->Walk(root, path, false, nullptr, nullptr);
}

std::wstring CMemoryRegistryStore::StringValue(RegRoot root, const std::wstring& path,
                                               const std::wstring& name) const {
    const Key* key = Find(root, path);
    if (key == nullptr)
        return L"<none>";
    const auto found = key->values.find(Lower(name));
    return found == key->values.end() ? L"<none>" : found->second.text;
}

std::wstring CMemoryRegistryStore::Dump(RegRoot root) const {
    std::wstring out;
    const auto found = m_roots.find(root);
    if (found != m_roots.end())
        DumpKey(found->second, L"", out);
    return out;
}

} // namespace qlcom
