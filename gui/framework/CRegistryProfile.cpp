#include "CRegistryProfile.h"

#include "CRegKey.h"

CRegistryProfile::CRegistryProfile(std::wstring maker, std::wstring application)
    : m_root(L"Software\\" + maker + L"\\" + application)
{
}

std::wstring CRegistryProfile::SectionPath(const std::wstring& section) const
{
    return section.empty() ? m_root : m_root + L"\\" + section;
}

int CRegistryProfile::GetInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const
{
    CRegKey key;
    if (!IsSet() || key.Open(HKEY_CURRENT_USER, SectionPath(section)) != ERROR_SUCCESS)
        return defaultValue;
    auto value = key.QueryDword(entry.c_str());
    return value ? static_cast<int>(*value) : defaultValue;
}

std::wstring CRegistryProfile::GetString(const std::wstring& section, const std::wstring& entry,
                                         const std::wstring& defaultValue) const
{
    CRegKey key;
    if (!IsSet() || key.Open(HKEY_CURRENT_USER, SectionPath(section)) != ERROR_SUCCESS)
        return defaultValue;
    auto value = key.QueryString(entry.c_str());
    return value ? *value : defaultValue;
}

bool CRegistryProfile::WriteInt(const std::wstring& section, const std::wstring& entry, int value) const
{
    CRegKey key;
    if (!IsSet() || key.Create(HKEY_CURRENT_USER, SectionPath(section), KEY_WRITE) != ERROR_SUCCESS)
        return false;
    return key.SetDword(entry.c_str(), static_cast<DWORD>(value)) == ERROR_SUCCESS;
}

bool CRegistryProfile::WriteString(const std::wstring& section, const std::wstring& entry,
                                   const std::wstring& value) const
{
    CRegKey key;
    if (!IsSet() || key.Create(HKEY_CURRENT_USER, SectionPath(section), KEY_WRITE) != ERROR_SUCCESS)
        return false;
    return key.SetString(entry.c_str(), value) == ERROR_SUCCESS;
}
