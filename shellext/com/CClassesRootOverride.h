#pragma once
// CClassesRootOverride: while it is active, HKEY_CLASSES_ROOT stands for one
// hive's classes (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE "Software\Classes")
// in the whole process. Registration runs inside it, so that the registry
// scripts and the system's own routines (type library, merged proxy/stub)
// write exactly one scope: written through the merged HKEY_CLASSES_ROOT, a
// key that exists in the user's classes would be changed there even by a
// machine-wide registration.
#include <windows.h>

namespace qlcom {

class CClassesRootOverride {
public:
    CClassesRootOverride() = default;
    ~CClassesRootOverride();
    CClassesRootOverride(const CClassesRootOverride&) = delete;
    CClassesRootOverride& operator=(const CClassesRootOverride&) = delete;

    // Maps HKEY_CLASSES_ROOT to `hive`\Software\Classes until destruction.
    HRESULT Begin(HKEY hive);
    bool IsActive() const { return m_active; }

private:
    bool m_active = false;
};

} // namespace qlcom
