#pragma once
// Classes: CRegistryProfileStore, the settings' profile store on the
// application's registry profile (HKCU\Software\Varnel\Quillet).
#include "CRegistryProfile.h"
#include "IProfileStore.h"

class CRegistryProfileStore : public IProfileStore {
public:
    explicit CRegistryProfileStore(const CRegistryProfile& profile) : m_profile(profile) {}

    int GetInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const override
    {
        return m_profile.GetInt(section, entry, defaultValue);
    }
    std::wstring GetString(const std::wstring& section, const std::wstring& entry,
                           const std::wstring& defaultValue) const override
    {
        return m_profile.GetString(section, entry, defaultValue);
    }
    bool WriteInt(const std::wstring& section, const std::wstring& entry, int value) override
    {
        return m_profile.WriteInt(section, entry, value);
    }
    bool WriteString(const std::wstring& section, const std::wstring& entry, const std::wstring& value) override
    {
        return m_profile.WriteString(section, entry, value);
    }

private:
    const CRegistryProfile& m_profile;
};
