#pragma once
// FILETIME counts 100 ns ticks since 1601-01-01; the layer carries whole
// seconds since 1970-01-01.
#include <windows.h>

#include <cstdint>

namespace qlfs {

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kTicksFrom1601To1970 = 116444736000000000;

inline int64_t SecondsFromFileTime(const FILETIME& time)
{
    int64_t ticks = int64_t((uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime) - kTicksFrom1601To1970;
    int64_t seconds = ticks / kTicksPerSecond;
    if (ticks % kTicksPerSecond < 0)
        --seconds;  // round towards the past for times before 1970
    return seconds;
}

inline FILETIME FileTimeOf(const LARGE_INTEGER& ticks)
{
    FILETIME time;
    time.dwLowDateTime = DWORD(uint64_t(ticks.QuadPart) & 0xFFFFFFFFu);
    time.dwHighDateTime = DWORD(uint64_t(ticks.QuadPart) >> 32);
    return time;
}

inline FILETIME FileTimeFromSeconds(int64_t seconds)
{
    uint64_t ticks = uint64_t(seconds * kTicksPerSecond + kTicksFrom1601To1970);
    FILETIME time;
    time.dwLowDateTime = DWORD(ticks & 0xFFFFFFFFu);
    time.dwHighDateTime = DWORD(ticks >> 32);
    return time;
}

}  // namespace qlfs
