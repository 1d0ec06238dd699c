#pragma once
// The parsed form of a registrar script: root blocks holding a tree of keys,
// each with an optional default value, named values and subkeys.
#include <cstdint>
#include <string>
#include <vector>

namespace qlcom {

// The predefined registry roots a script may name.
enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

struct CRgsValue {
    enum class Type { String, ExpandString, Dword, Binary };
    Type type = Type::String;
    std::wstring text;               // String, ExpandString
    std::uint32_t number = 0;        // Dword
    std::vector<std::uint8_t> bytes; // Binary
};

struct CRgsNamedValue {
    std::wstring name;
    CRgsValue value;
};

struct CRgsKey {
    enum class Rule { Plain, NoRemove, ForceRemove, Delete };
    std::wstring name;
    Rule rule = Rule::Plain;
    bool hasDefault = false;
    CRgsValue defaultValue;
    std::vector<CRgsNamedValue> values;
    std::vector<CRgsKey> subkeys;
};

struct CRgsRootBlock {
    RegRoot root = RegRoot::ClassesRoot;
    std::vector<CRgsKey> keys;
};

struct CRgsScript {
    std::vector<CRgsRootBlock> blocks;
};

} // namespace qlcom
