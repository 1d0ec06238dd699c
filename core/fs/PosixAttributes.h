#pragma once
// Windows-style attribute values over POSIX permission modes: read-only is the
// owner-write bit, and a value read from a file also carries the whole mode so
// that writing it back keeps every permission bit.
#include <sys/types.h>

#include <cstdint>

namespace qlfs {

uint32_t AttributesFromMode(mode_t mode);
// The mode that `attributes` asks for; `currentMode` supplies the permission
// bits when the value carries no mode of its own.
mode_t ModeFromAttributes(uint32_t attributes, mode_t currentMode);

}  // namespace qlfs
