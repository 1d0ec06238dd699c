#pragma once
// Classes: CRegKey, a move-only owner of one open registry key with typed
// value access (REG_DWORD and REG_SZ). A predefined root key it holds is never
// closed.
#include "CUniqueHandle.h"

#include <optional>
#include <string>
#include <vector>

class CRegKey {
public:
    CRegKey() noexcept = default;
    explicit CRegKey(HKEY key) noexcept : m_key(key) {}

    // Both return ERROR_SUCCESS or the system's error code; the key is empty on failure.
    LONG Open(HKEY parent, const std::wstring& subKey, REGSAM access = KEY_READ)
    {
        HKEY key = nullptr;
        LONG rc = ::RegOpenKeyExW(parent, subKey.c_str(), 0, access, &key);
        m_key.Reset(rc == ERROR_SUCCESS ? key : nullptr);
        return rc;
    }
    LONG Create(HKEY parent, const std::wstring& subKey, REGSAM access = KEY_READ | KEY_WRITE)
    {
        HKEY key = nullptr;
        LONG rc = ::RegCreateKeyExW(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                    nullptr, &key, nullptr);
        m_key.Reset(rc == ERROR_SUCCESS ? key : nullptr);
        return rc;
    }
    void Close() noexcept { m_key.Close(); }

    HKEY Get() const noexcept { return m_key.Get(); }
    explicit operator bool() const noexcept { return m_key.IsValid(); }

    // Empty when the value is absent or has another type.
    std::optional<DWORD> QueryDword(const wchar_t* name) const
    {
        DWORD type = 0;
        DWORD value = 0;
        DWORD size = sizeof(value);
        LONG rc = ::RegQueryValueExW(Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
            return std::nullopt;
        return value;
    }

    std::optional<std::wstring> QueryString(const wchar_t* name) const
    {
        // The value may change between the size query and the read; retry a few times.
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD type = 0;
            DWORD size = 0;
            if (::RegQueryValueExW(Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
                return std::nullopt;
            if (type != REG_SZ && type != REG_EXPAND_SZ)
                return std::nullopt;
            std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
            DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
            LONG rc = ::RegQueryValueExW(Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                         &bytes);
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

    LONG SetDword(const wchar_t* name, DWORD value)
    {
        return ::RegSetValueExW(Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    }
    LONG SetString(const wchar_t* name, const std::wstring& value)
    {
        DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        return ::RegSetValueExW(Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    }
    LONG DeleteValue(const wchar_t* name) { return ::RegDeleteValueW(Get(), name); }
    // Removes a subkey with everything below it.
    LONG DeleteTree(const std::wstring& subKey) { return ::RegDeleteTreeW(Get(), subKey.c_str()); }

private:
    CUniqueHandle<CRegKeyTraits> m_key;
};
