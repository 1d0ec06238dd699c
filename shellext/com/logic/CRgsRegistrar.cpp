#include "CRgsRegistrar.h"

#include <cwctype>

#include "CRgsParser.h"

namespace qlcom {
namespace {

std::wstring JoinPath(const std::wstring& parent, const std::wstring& name) {
    return parent.empty() ? name : parent + L'\\' + name;
}

bool EqualsNoCase(const std::wstring& a, const wchar_t* b) {
    std::size_t i = 0;
    for (; b[i] != L'\0'; ++i) {
        if (i >= a.size() || std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    }
    return i == a.size();
}

bool IsMissing(long error) { return error == kWin32FileNotFound; }

const wchar_t kUserClasses[] = L"Software\\Classes";

} // namespace

CRgsRegistrar::CRgsRegistrar(IRegistryStore& store) : m_store(store) {}

void CRgsRegistrar::AddReplacement(const std::wstring& name, const std::wstring& value) {
    m_preprocessor.AddReplacement(name, value);
}

bool CRgsRegistrar::IsSharedKeyName(const std::wstring& name) {
    static const wchar_t* const kNames[] = {
        L"AppID", L"CLSID", L"Component Categories", L"FileType", L"Interface", L"Hardware",
        L"Mime", L"SAM", L"SECURITY", L"SYSTEM", L"Software", L"TypeLib"};
    for (const wchar_t* shared : kNames) {
        if (EqualsNoCase(name, shared))
            return true;
    }
    return false;
}

bool CRgsRegistrar::IsProtectedPath(const std::wstring& path) {
    // HKCU\Software\Classes is the user's whole class store, where a per-user
    // script runs; it must outlive the removal of our last key in it.
    if (EqualsNoCase(path, kUserClasses))
        return true;
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos)
        return IsSharedKeyName(path);
    // The shared names only mean the shared trees at the top of a class store;
    // deeper down (a ProgID's CLSID subkey) they are ordinary keys of ours.
    return EqualsNoCase(path.substr(0, slash), kUserClasses) && IsSharedKeyName(path.substr(slash + 1));
}

ComResult CRgsRegistrar::Run(const std::wstring& scriptText, bool registering) {
    std::wstring text = scriptText;
    if (m_perUser)
        CRgsPreprocessor::RewriteForPerUser(text);
    std::wstring expanded;
    if (!m_preprocessor.Expand(text, expanded))
        return kResultBadScript;
    CRgsScript script;
    if (!CRgsParser(expanded).Parse(script))
        return kResultBadScript;

    for (const CRgsRootBlock& block : script.blocks) {
        for (const CRgsKey& key : block.keys) {
            const long error = registering ? RegisterKey(block.root, L"", key)
                                           : UnregisterKey(block.root, L"", key);
            if (error != kWin32Success)
                return ResultFromWin32(error);
        }
    }
    return kResultOk;
}

long CRgsRegistrar::RegisterKey(RegRoot root, const std::wstring& parent, const CRgsKey& key) {
    const std::wstring path = JoinPath(parent, key.name);
    const bool mayDelete = !IsSharedKeyName(key.name);
    if (key.rule == CRgsKey::Rule::Delete || key.rule == CRgsKey::Rule::ForceRemove) {
        const long error = mayDelete ? m_store.DeleteTree(root, path) : kWin32Success;
        if (error != kWin32Success && !IsMissing(error))
            return error;
        if (key.rule == CRgsKey::Rule::Delete)
            return kWin32Success;
    }
    long error = m_store.CreateKey(root, path);
    if (error != kWin32Success)
        return error;
    if (key.hasDefault && (error = m_store.SetValue(root, path, L"", key.defaultValue)) != kWin32Success)
        return error;
    for (const CRgsNamedValue& named : key.values) {
        if ((error = m_store.SetValue(root, path, named.name, named.value)) != kWin32Success)
            return error;
    }
    for (const CRgsKey& subkey : key.subkeys) {
        if ((error = RegisterKey(root, path, subkey)) != kWin32Success)
            return error;
    }
    return kWin32Success;
}

long CRgsRegistrar::UnregisterKey(RegRoot root, const std::wstring& parent, const CRgsKey& key) {
    const std::wstring path = JoinPath(parent, key.name);
    if (key.rule == CRgsKey::Rule::Delete)
        return kWin32Success;
    if (key.rule == CRgsKey::Rule::ForceRemove) {
        if (IsSharedKeyName(key.name))
            return kWin32Success;
        const long error = m_store.DeleteTree(root, path);
        return IsMissing(error) ? kWin32Success : error;
    }
    bool exists = false;
    long error = m_store.KeyExists(root, path, exists);
    if (error != kWin32Success || !exists)
        return error;
    for (const CRgsNamedValue& named : key.values) {
        error = m_store.DeleteValue(root, path, named.name);
        if (error != kWin32Success && !IsMissing(error))
            return error;
    }
    for (const CRgsKey& subkey : key.subkeys) {
        if ((error = UnregisterKey(root, path, subkey)) != kWin32Success)
            return error;
    }
    return RemoveIfUnused(root, path, key);
}

long CRgsRegistrar::RemoveIfUnused(RegRoot root, const std::wstring& path, const CRgsKey& key) {
    if (key.rule == CRgsKey::Rule::NoRemove || IsProtectedPath(path))
        return kWin32Success;
    bool hasSubkeys = true;
    long error = m_store.HasSubkeys(root, path, hasSubkeys);
    if (error != kWin32Success || hasSubkeys)
        return error;
    error = m_store.DeleteKey(root, path);
    return IsMissing(error) ? kWin32Success : error;
}

} // namespace qlcom
