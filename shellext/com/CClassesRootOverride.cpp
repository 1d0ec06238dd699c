#include "CClassesRootOverride.h"

#include "CRegKey.h"

namespace qlcom {

CClassesRootOverride::~CClassesRootOverride() {
    if (m_active)
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
}

HRESULT CClassesRootOverride::Begin(HKEY hive) {
    CRegKey classes;
    LSTATUS status = classes.Create(hive, L"Software\\Classes", KEY_ALL_ACCESS);
    if (status != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(status);
    // The system keeps its own handle to the key; ours may close afterwards.
    status = RegOverridePredefKey(HKEY_CLASSES_ROOT, classes.Get());
    if (status != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(status);
    m_active = true;
    return S_OK;
}

} // namespace qlcom
