#pragma once
// Classes: CRegistryProfile, the application's profile: integer (REG_DWORD)
// and string (REG_SZ) values in sections below one root key of the current
// user, HKEY_CURRENT_USER\Software\<maker>\<application>. A section may be
// nested ("Filters\01").
#include <string>

class CRegistryProfile {
public:
    CRegistryProfile() = default;
    CRegistryProfile(std::wstring maker, std::wstring application);

    // "Software\<maker>\<application>", relative to HKEY_CURRENT_USER.
    const std::wstring& RootPath() const { return m_root; }
    bool IsSet() const { return !m_root.empty(); }

    // Absent values, values of another type and an unset profile give the default.
    int GetInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const;
    std::wstring GetString(const std::wstring& section, const std::wstring& entry,
                           const std::wstring& defaultValue) const;
    // Create the section when needed; false when the value could not be written.
    bool WriteInt(const std::wstring& section, const std::wstring& entry, int value) const;
    bool WriteString(const std::wstring& section, const std::wstring& entry, const std::wstring& value) const;

private:
    std::wstring SectionPath(const std::wstring& section) const;

    std::wstring m_root;
};
