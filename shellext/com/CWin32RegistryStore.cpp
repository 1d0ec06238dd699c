#include "CWin32RegistryStore.h"

#include "CRegKey.h"

namespace qlcom {

HKEY CWin32RegistryStore::RootKey(RegRoot root) {
    switch (root) {
    case RegRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegRoot::Users:
        return HKEY_USERS;
    case RegRoot::ClassesRoot:
        break;
    }
    return HKEY_CLASSES_ROOT;
}

long CWin32RegistryStore::CreateKey(RegRoot root, const std::wstring& path) {
    CRegKey key;
    return key.Create(RootKey(root), path.c_str(), KEY_READ | KEY_WRITE);
}

long CWin32RegistryStore::KeyExists(RegRoot root, const std::wstring& path, bool& exists) {
    CRegKey key;
    const LSTATUS status = key.Open(RootKey(root), path.c_str(), KEY_READ);
    exists = status == ERROR_SUCCESS;
    return exists || status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

long CWin32RegistryStore::HasSubkeys(RegRoot root, const std::wstring& path, bool& hasSubkeys) {
    CRegKey key;
    LSTATUS status = key.Open(RootKey(root), path.c_str(), KEY_READ);
    if (status != ERROR_SUCCESS)
        return status;
    DWORD subkeys = 0;
    status = RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr);
    hasSubkeys = subkeys != 0;
    return status;
}

long CWin32RegistryStore::DeleteKey(RegRoot root, const std::wstring& path) {
    return RegDeleteKeyW(RootKey(root), path.c_str());
}

long CWin32RegistryStore::DeleteTree(RegRoot root, const std::wstring& path) {
    // Given a subkey name, RegDeleteTreeW removes that key itself as well.
    return RegDeleteTreeW(RootKey(root), path.c_str());
}

long CWin32RegistryStore::SetValue(RegRoot root, const std::wstring& path, const std::wstring& name,
                                   const CRgsValue& value) {
    CRegKey key;
    const LSTATUS status = key.Open(RootKey(root), path.c_str(), KEY_SET_VALUE);
    if (status != ERROR_SUCCESS)
        return status;
    const wchar_t* valueName = name.empty() ? nullptr : name.c_str();
    switch (value.type) {
    case CRgsValue::Type::Dword:
        return RegSetValueExW(key.Get(), valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.number),
                              sizeof(DWORD));
    case CRgsValue::Type::Binary:
        return RegSetValueExW(key.Get(), valueName, 0, REG_BINARY, value.bytes.data(),
                              static_cast<DWORD>(value.bytes.size()));
    case CRgsValue::Type::String:
    case CRgsValue::Type::ExpandString:
        break;
    }
    const DWORD type = value.type == CRgsValue::Type::String ? REG_SZ : REG_EXPAND_SZ;
    return RegSetValueExW(key.Get(), valueName, 0, type, reinterpret_cast<const BYTE*>(value.text.c_str()),
                          static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
}

long CWin32RegistryStore::DeleteValue(RegRoot root, const std::wstring& path, const std::wstring& name) {
    CRegKey key;
    const LSTATUS status = key.Open(RootKey(root), path.c_str(), KEY_SET_VALUE);
    if (status != ERROR_SUCCESS)
        return status;
    return RegDeleteValueW(key.Get(), name.empty() ? nullptr : name.c_str());
}

} // namespace qlcom
