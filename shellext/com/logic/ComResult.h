#pragma once
// HRESULT values the platform-free registrar reports, spelled without
// <windows.h> so that the logic builds and is tested on any host.
#include <cstdint>

namespace qlcom {

using ComResult = std::int32_t;

constexpr ComResult kResultOk = 0;
// DISP_E_EXCEPTION: what a registrar reports for a script it cannot read.
constexpr ComResult kResultBadScript = static_cast<ComResult>(0x80020009u);

// Win32 error codes that the registrar tells apart.
constexpr long kWin32Success = 0;
constexpr long kWin32FileNotFound = 2;
constexpr long kWin32InsufficientBuffer = 122;

// HRESULT_FROM_WIN32.
constexpr ComResult ResultFromWin32(long error) {
    return error <= 0 ? static_cast<ComResult>(error)
                      : static_cast<ComResult>((static_cast<std::uint32_t>(error) & 0xFFFFu) | 0x80070000u);
}

} // namespace qlcom
