#pragma once
// The rules by which the handler accepts a registry value.
#include "IRegistryReader.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qlshell {

// Read buffers, terminator included. Odd sizes, so the longest accepted text is
// 126 characters for "Name" and 510 for "Filter" and "AppFolder".
constexpr uint32_t kNameBufferBytes = 255;
constexpr uint32_t kLongStringBufferBytes = 1023;

// A string value is accepted when its type is REG_SZ, REG_EXPAND_SZ (used
// unexpanded) or REG_MULTI_SZ (its first string), it fits `bufferBytes`, its
// byte size is even and non-zero, and it ends with a terminating zero (two for
// REG_MULTI_SZ). Text after an embedded zero is not part of the string. Any
// other value, and a value that does not exist, reads as nullopt. The empty
// string (just the terminator) is accepted.
std::optional<std::wstring> ReadRegistryString(IRegistryKey& key, const wchar_t* name,
                                               uint32_t bufferBytes);

// A REG_DWORD of exactly four bytes; anything else reads as nullopt.
std::optional<uint32_t> ReadRegistryDword(IRegistryKey& key, const wchar_t* name);

}  // namespace qlshell
