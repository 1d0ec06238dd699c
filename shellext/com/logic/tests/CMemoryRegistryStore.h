#pragma once
// An in-memory registry for the registrar's tests: keys are matched without
// regard to case, as in the real registry.
#include <map>
#include <memory>
#include <string>

#include "ComResult.h"
#include "IRegistryStore.h"

namespace qlcom {

class CMemoryRegistryStore : public IRegistryStore {
public:
    struct Key {
        std::map<std::wstring, CRgsValue> values; // by lower-case name
        std::map<std::wstring, std::unique_ptr<Key>> subkeys;
    };

    long CreateKey(RegRoot root, const std::wstring& path) override;
    long KeyExists(RegRoot root, const std::wstring& path, bool& exists) override;
    long HasSubkeys(RegRoot root, const std::wstring& path, bool& hasSubkeys) override;
    long DeleteKey(RegRoot root, const std::wstring& path) override;
    long DeleteTree(RegRoot root, const std::wstring& path) override;
    long SetValue(RegRoot root, const std::wstring& path, const std::wstring& name,
                  const CRgsValue& value) override;
    long DeleteValue(RegRoot root, const std::wstring& path, const std::wstring& name) override;

    // Test helpers.
    const Key* Find(RegRoot root, const std::wstring& path) const;
    // The string value (default value for an empty name), or "<none>".
    std::wstring StringValue(RegRoot root, const std::wstring& path, const std::wstring& name) const;
    // Every key and value below a root, one line each, for whole-tree comparisons.
    std::wstring Dump(RegRoot root) const;
    // Number of write operations performed so far.
    int Writes() const { return m_writes; }
    // Makes CreateKey fail with this error for the given path.
    void FailCreate(const std::wstring& path, long error) { m_failPath = path; m_failError = error; }

private:
    Key* Walk(RegRoot root, const std::wstring& path, bool create, Key** parent, std::wstring* leaf);

    std::map<RegRoot, Key> m_roots;
    int m_writes = 0;
    std::wstring m_failPath;
    long m_failError = 0;
};

} // namespace qlcom
