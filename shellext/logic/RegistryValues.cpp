#include "RegistryValues.h"

#include <vector>

namespace qlshell {
namespace {

bool IsStringType(uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

// Code unit `index` of little-endian UTF-16 data.
wchar_t CodeUnit(const std::vector<uint8_t>& data, size_t index) {
    return static_cast<wchar_t>(data[2 * index] | (data[2 * index + 1] << 8));
}

}  // namespace

std::optional<std::wstring> ReadRegistryString(IRegistryKey& key, const wchar_t* name,
                                               uint32_t bufferBytes) {
    std::vector<uint8_t> data(bufferBytes);
    uint32_t type = kRegNone;
    uint32_t size = bufferBytes;
    if (key.QueryValue(name, type, data.data(), size) != kErrorSuccess) return std::nullopt;
    if (!IsStringType(type) || size == 0 || size % 2 != 0 || size > bufferBytes) return std::nullopt;

    const size_t units = size / 2;
    const size_t terminators = type == kRegMultiSz ? 2 : 1;
    if (units < terminators) return std::nullopt;
    for (size_t i = units - terminators; i < units; ++i) {
        if (CodeUnit(data, i) != 0) return std::nullopt;
    }
    // The first string ends at the first zero; the terminator check above
    // guarantees there is one.
    std::wstring text;
    for (size_t i = 0; CodeUnit(data, i) != 0; ++i) text.push_back(CodeUnit(data, i));
    return text;
}

std::optional<uint32_t> ReadRegistryDword(IRegistryKey& key, const wchar_t* name) {
    uint8_t data[4] = {};
    uint32_t type = kRegNone;
    uint32_t size = sizeof data;
    if (key.QueryValue(name, type, data, size) != kErrorSuccess) return std::nullopt;
    if (type != kRegDword || size != sizeof data) return std::nullopt;
    return uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24;
}

}  // namespace qlshell
