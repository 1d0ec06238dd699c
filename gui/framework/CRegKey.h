#pragma once
// Classes: CRegKey, a move-only owner of one open registry key with typed
// value access (REG_DWORD and REG_SZ).
#include <windows.h>
#include <optional>
#include <string>

class CRegKey {
public:
    CRegKey() noexcept = default;
    explicit CRegKey(HKEY key) noexcept : m_key(key) {}
    CRegKey(CRegKey&& other) noexcept;
    CRegKey& operator=(CRegKey&& other) noexcept;
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    ~CRegKey() { Close(); }

    // Both return ERROR_SUCCESS or the system's error code; the key is empty on failure.
    LONG Open(HKEY parent, const std::wstring& subKey, REGSAM access = KEY_READ);
    LONG Create(HKEY parent, const std::wstring& subKey, REGSAM access = KEY_READ | KEY_WRITE);
    void Close() noexcept;

    HKEY Get() const noexcept { return m_key; }
    explicit operator bool() const noexcept { return m_key != nullptr; }

    // Empty when the value is absent or has another type.
    std::optional<DWORD> QueryDword(const wchar_t* name) const;
    std::optional<std::wstring> QueryString(const wchar_t* name) const;
    LONG SetDword(const wchar_t* name, DWORD value);
    LONG SetString(const wchar_t* name, const std::wstring& value);
    LONG DeleteValue(const wchar_t* name);
    // Removes a subkey with everything below it.
    LONG DeleteTree(const std::wstring& subKey);

private:
    HKEY m_key = nullptr;
};
