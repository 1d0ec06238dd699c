#pragma once
// Classes: IProfileStore, where the settings live: integer and string values
// by section and entry name. Sections may be nested with "\" ("Filters\01").
// The program uses the registry; tests use memory.
#include <string>

class IProfileStore {
public:
    virtual ~IProfileStore() = default;
    // An absent value (or one of another type) gives the default.
    virtual int GetInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const = 0;
    virtual std::wstring GetString(const std::wstring& section, const std::wstring& entry,
                                   const std::wstring& defaultValue) const = 0;
    // False when the value could not be stored.
    virtual bool WriteInt(const std::wstring& section, const std::wstring& entry, int value) = 0;
    virtual bool WriteString(const std::wstring& section, const std::wstring& entry, const std::wstring& value) = 0;
};
