#pragma once
// Classes: CMemoryProfileStore, a profile store in memory for tests. Values
// keep their type, so a string where an integer is expected reads as absent,
// as in the registry. Writes can be made to fail.
#include "IProfileStore.h"

#include <map>
#include <string>
#include <utility>
#include <variant>

class CMemoryProfileStore : public IProfileStore {
public:
    using Value = std::variant<int, std::wstring>;
    using Key = std::pair<std::wstring, std::wstring>;

    int GetInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const override
    {
        auto it = m_values.find({section, entry});
        return it != m_values.end() && std::holds_alternative<int>(it->second) ? std::get<int>(it->second)
                                                                                : defaultValue;
    }
    std::wstring GetString(const std::wstring& section, const std::wstring& entry,
                           const std::wstring& defaultValue) const override
    {
        auto it = m_values.find({section, entry});
        return it != m_values.end() && std::holds_alternative<std::wstring>(it->second)
                   ? std::get<std::wstring>(it->second)
                   : defaultValue;
    }
    bool WriteInt(const std::wstring& section, const std::wstring& entry, int value) override
    {
        return Write(section, entry, value);
    }
    bool WriteString(const std::wstring& section, const std::wstring& entry, const std::wstring& value) override
    {
        return Write(section, entry, value);
    }

    bool Has(const std::wstring& section, const std::wstring& entry) const
    {
        return m_values.count({section, entry}) != 0;
    }

    std::map<Key, Value> m_values;
    int m_writes = 0;
    bool m_failWrites = false;

private:
    bool Write(const std::wstring& section, const std::wstring& entry, Value value)
    {
        ++m_writes;
        if (m_failWrites)
            return false;
        m_values[{section, entry}] = std::move(value);
        return true;
    }
};
