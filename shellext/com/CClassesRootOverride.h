#pragma once
// CClassesRootOverride: while it is active, HKEY_CLASSES_ROOT stands for
// HKEY_CURRENT_USER\Software\Classes in the whole process. Per-user
// registration uses it around the system's own registration routines (type
// library, merged proxy/stub), which write below HKEY_CLASSES_ROOT: that is
// the machine's hive, which a standard user may not change.
#include <windows.h>

namespace qlcom {

class CClassesRootOverride {
public:
    CClassesRootOverride() = default;
    ~CClassesRootOverride();
    CClassesRootOverride(const CClassesRootOverride&) = delete;
    CClassesRootOverride& operator=(const CClassesRootOverride&) = delete;

    // Maps HKEY_CLASSES_ROOT to the user's classes until destruction.
    HRESULT Begin();
    bool IsActive() const { return m_active; }

private:
    bool m_active = false;
};

} // namespace qlcom
