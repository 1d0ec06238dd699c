#pragma once
// Read-only access to the program's registry key, HKEY_CURRENT_USER\Software\Varnel\Quillet.
//
// The handler logic reads presets and "AppFolder" only through these two
// interfaces, so it runs natively against CMemoryRegistry (MemoryRegistry.h).
// They follow RegOpenKeyExW/RegQueryValueExW closely, so that the Win32
// implementation is a few lines:
//   OpenAppKey(sub)  -> RegOpenKeyExW(HKEY_CURRENT_USER, kAppKeyPath [+ L"\\" + sub],
//                                     0, KEY_QUERY_VALUE, &key); null unless ERROR_SUCCESS
//   OpenMachineAppKey() -> the same with HKEY_LOCAL_MACHINE and kAppKeyPath
//   QueryValue(...)  -> RegQueryValueExW(key, name, nullptr, &type, data, &size)
//   ~IRegistryKey()  -> RegCloseKey(key)
#include <cstdint>
#include <memory>
#include <string>

namespace qlshell {

// Path of the program's key below HKEY_CURRENT_USER.
constexpr const wchar_t* kAppKeyPath = L"Software\\Varnel\\Quillet";

// Registry value types (REG_*).
constexpr uint32_t kRegNone = 0;       // REG_NONE
constexpr uint32_t kRegSz = 1;         // REG_SZ
constexpr uint32_t kRegExpandSz = 2;   // REG_EXPAND_SZ
constexpr uint32_t kRegBinary = 3;     // REG_BINARY
constexpr uint32_t kRegDword = 4;      // REG_DWORD
constexpr uint32_t kRegMultiSz = 7;    // REG_MULTI_SZ
constexpr uint32_t kRegQword = 11;     // REG_QWORD

// Win32 error codes that QueryValue returns.
constexpr int32_t kErrorSuccess = 0;        // ERROR_SUCCESS
constexpr int32_t kErrorFileNotFound = 2;   // ERROR_FILE_NOT_FOUND
constexpr int32_t kErrorMoreData = 234;     // ERROR_MORE_DATA

// One open key; closed when the object is destroyed.
class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;
    // Reads value `name` with RegQueryValueExW's contract: on entry `size` is the
    // capacity of `data` in bytes (data may be null to ask only for type and size);
    // on return `type` holds the value's type and `size` the bytes written, or the
    // bytes needed when the result is kErrorMoreData (the buffer's content is then
    // undefined). String data is stored as UTF-16 code units, little-endian, and
    // is returned exactly as stored: no terminator is added.
    virtual int32_t QueryValue(const wchar_t* name, uint32_t& type, void* data, uint32_t& size) = 0;
};

class IRegistryReader {
public:
    virtual ~IRegistryReader() = default;
    // Opens kAppKeyPath when `subKey` is empty, else kAppKeyPath\subKey, for
    // query access only. Null when the key does not open.
    virtual std::unique_ptr<IRegistryKey> OpenAppKey(const std::wstring& subKey) = 0;
    // Opens kAppKeyPath below HKEY_LOCAL_MACHINE, for query access only, where
    // a per-machine install leaves "AppFolder" for every user. Null when the
    // key does not open.
    virtual std::unique_ptr<IRegistryKey> OpenMachineAppKey() = 0;
};

}  // namespace qlshell
