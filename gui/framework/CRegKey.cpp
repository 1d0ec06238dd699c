#include "CRegKey.h"

#include <utility>
#include <vector>

CRegKey::CRegKey(CRegKey&& other) noexcept : m_key(std::exchange(other.m_key, nullptr)) {}

CRegKey& CRegKey::operator=(CRegKey&& other) noexcept
{
    if (this != &other) {
        Close();
        m_key = std::exchange(other.m_key, nullptr);
    }
    return *this;
}

void CRegKey::Close() noexcept
{
    if (HKEY key = std::exchange(m_key, nullptr))
        ::RegCloseKey(key);
}

LONG CRegKey::Open(HKEY parent, const std::wstring& subKey, REGSAM access)
{
    Close();
    return ::RegOpenKeyExW(parent, subKey.c_str(), 0, access, &m_key);
}

LONG CRegKey::Create(HKEY parent, const std::wstring& subKey, REGSAM access)
{
    Close();
    return ::RegCreateKeyExW(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                             nullptr, &m_key, nullptr);
}

std::optional<DWORD> CRegKey::QueryDword(const wchar_t* name) const
{
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LONG rc = ::RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
        return std::nullopt;
    return value;
}

std::optional<std::wstring> CRegKey::QueryString(const wchar_t* name) const
{
    // The value may change between the size query and the read; retry a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExW(m_key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return std::nullopt;
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        LONG rc = ::RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
        if (rc == ERROR_MORE_DATA)
            continue;
        if (rc != ERROR_SUCCESS)
            return std::nullopt;
        // Stored strings need not be terminated; stop at the first terminator or the data's end.
        size_t chars = bytes / sizeof(wchar_t);
        std::wstring text(buffer.data(), chars);
        text.resize(text.find(L'\0') == std::wstring::npos ? chars : text.find(L'\0'));
        return text;
    }
    return std::nullopt;
}

LONG CRegKey::SetDword(const wchar_t* name, DWORD value)
{
    return ::RegSetValueExW(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG CRegKey::SetString(const wchar_t* name, const std::wstring& value)
{
    DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

LONG CRegKey::DeleteValue(const wchar_t* name)
{
    return ::RegDeleteValueW(m_key, name);
}

LONG CRegKey::DeleteTree(const std::wstring& subKey)
{
    return ::RegDeleteTreeW(m_key, subKey.c_str());
}
