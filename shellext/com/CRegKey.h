#pragma once
// CRegKey owns an open registry key (HKEY); move-only. The predefined root
// keys are never closed.
#include <windows.h>

#include <utility>

namespace qlcom {

class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(CRegKey&& other) noexcept : m_key(std::exchange(other.m_key, nullptr)) {}
    CRegKey& operator=(CRegKey&& other) noexcept {
        if (this != &other) {
            Close();
            m_key = std::exchange(other.m_key, nullptr);
        }
        return *this;
    }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    LSTATUS Open(HKEY parent, const wchar_t* path, REGSAM access) {
        Close();
        return RegOpenKeyExW(parent, path, 0, access, &m_key);
    }
    LSTATUS Create(HKEY parent, const wchar_t* path, REGSAM access) {
        Close();
        return RegCreateKeyExW(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &m_key,
                               nullptr);
    }
    void Close() {
        if (m_key != nullptr)
            RegCloseKey(std::exchange(m_key, nullptr));
    }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

} // namespace qlcom
