#pragma once
// The GUI program's registry key, HKEY_CURRENT_USER\Software\Varnel\Quillet,
// for tests: reading and writing its values, and QuilletKeyTest, a fixture
// that owns the key for the length of a case and puts it back afterwards.
#include "CRegKey.h"
#include "CUniqueHandle.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

inline const wchar_t kRoot[] = L"Software\\Varnel\\Quillet";

inline std::wstring KeyPath(const std::wstring& section)
{
    return section.empty() ? kRoot : std::wstring(kRoot) + L"\\" + section;
}

inline std::optional<DWORD> Dword(const std::wstring& section, const wchar_t* name)
{
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, KeyPath(section)) != ERROR_SUCCESS)
        return std::nullopt;
    return key.QueryDword(name);
}

inline std::optional<std::wstring> String(const std::wstring& section, const wchar_t* name)
{
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, KeyPath(section)) != ERROR_SUCCESS)
        return std::nullopt;
    return key.QueryString(name);
}

inline void Write(const std::wstring& section, const wchar_t* name, DWORD value)
{
    CRegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, KeyPath(section)), ERROR_SUCCESS);
    ASSERT_EQ(key.SetDword(name, value), ERROR_SUCCESS);
}

inline void Write(const std::wstring& section, const wchar_t* name, const std::wstring& value)
{
    CRegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, KeyPath(section)), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString(name, value), ERROR_SUCCESS);
}

// Every case owns HKCU\Software\Varnel\Quillet while it runs: other test
// processes that change the key wait on the same mutex. What was there before
// is put back afterwards.
class QuilletKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_lock.Reset(::CreateMutexW(nullptr, FALSE, L"Local\\QuilletRegistryTests"));
        ASSERT_TRUE(m_lock);
        DWORD wait = ::WaitForSingleObject(m_lock.Get(), 300000);
        ASSERT_TRUE(wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED);
        m_locked = true;
        ASSERT_EQ(m_maker.Create(HKEY_CURRENT_USER, L"Software\\Varnel", KEY_ALL_ACCESS), ERROR_SUCCESS);
        m_maker.DeleteTree(kBackup);
        CRegKey existing;
        if (existing.Open(HKEY_CURRENT_USER, kRoot) == ERROR_SUCCESS) {
            CRegKey backup;
            ASSERT_EQ(backup.Create(m_maker.Get(), kBackup, KEY_ALL_ACCESS), ERROR_SUCCESS);
            ASSERT_EQ(::RegCopyTreeW(existing.Get(), nullptr, backup.Get()), ERROR_SUCCESS);
            m_restore = true;
        }
        m_maker.DeleteTree(L"Quillet");
        ASSERT_FALSE(Dword(L"Filters", L"Count"));
    }
    void TearDown() override
    {
        if (m_maker) {
            m_maker.DeleteTree(L"Quillet");
            CRegKey backup;
            if (m_restore && backup.Open(m_maker.Get(), kBackup) == ERROR_SUCCESS) {
                CRegKey original;
                if (original.Create(HKEY_CURRENT_USER, kRoot, KEY_ALL_ACCESS) == ERROR_SUCCESS)
                    ::RegCopyTreeW(backup.Get(), nullptr, original.Get());
                backup.Close();
                m_maker.DeleteTree(kBackup);
            }
        }
        if (m_locked)
            ::ReleaseMutex(m_lock.Get());
    }

    static constexpr wchar_t kBackup[] = L"Quillet.gui-test-backup";
    CHandle m_lock;
    bool m_locked = false;
    CRegKey m_maker;
    bool m_restore = false;
};
