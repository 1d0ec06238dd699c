#pragma once
// Turns a SIGBUS raised while reading a mapped file into an ordinary read
// failure. A mapped file that another process truncates faults on the pages
// past its new end; without this guard that would end the whole program.
#include <cstddef>
#include <cstdint>

namespace qlfs {

using GuardedWork = bool (*)(void* context);

// Runs `work` with SIGBUS faults inside [begin, begin + size) caught on this
// thread. Returns work's result, or false when such a fault happened. `work`
// must not own anything with a destructor on the stack while it touches the
// range: the fault unwinds without running them.
bool RunWithSigbusGuard(const uint8_t* begin, size_t size, GuardedWork work, void* context);

}  // namespace qlfs
