#pragma once
// Runs a registrar script against a registry store: per-user rewrite and
// replacements first, then parsing, then writing or removing the keys.
//
// Registration creates every key and value listed; a ForceRemove key is first
// deleted with everything under it, and a Delete key is only deleted. Removal
// deletes ForceRemove keys whole; for other keys it deletes the listed named
// values and subkeys, then the key itself once nothing but values remains
// under it. NoRemove keys and the shared top-level trees (CLSID, Interface,
// Software, ...) are never deleted.
#include <string>

#include "CRgsPreprocessor.h"
#include "ComResult.h"
#include "IRegistryStore.h"

namespace qlcom {

class CRgsRegistrar {
public:
    explicit CRgsRegistrar(IRegistryStore& store);

    void AddReplacement(const std::wstring& name, const std::wstring& value);
    void SetPerUser(bool perUser) { m_perUser = perUser; }

    // Nothing is written when the script does not read: replacement and parse
    // errors give kResultBadScript before the first registry change.
    ComResult Run(const std::wstring& scriptText, bool registering);

    // Names of the trees every server shares (CLSID, Interface, Software, ...):
    // never deleted whole by ForceRemove or Delete.
    static bool IsSharedKeyName(const std::wstring& name);
    // Whether removal must keep the key at this path even when it has become
    // empty: a shared name at the top of a class store, or the user's store itself.
    static bool IsProtectedPath(const std::wstring& path);

private:
    long RegisterKey(RegRoot root, const std::wstring& parent, const CRgsKey& key);
    long UnregisterKey(RegRoot root, const std::wstring& parent, const CRgsKey& key);
    long RemoveIfUnused(RegRoot root, const std::wstring& path, const CRgsKey& key);

    IRegistryStore& m_store;
    CRgsPreprocessor m_preprocessor;
    bool m_perUser = false;
};

} // namespace qlcom
