#pragma once
// Block kernels of the byte-wise line-ending conversion. They all implement
// the same rule: every CR LF pair, lone CR and lone LF becomes one line end.
// They look at whole vectors, and handle the (rare) line ends between vector
// stores, so a block without CR or LF is copied straight through.
#include <cstddef>
#include <cstdint>

struct SKernelState {
    bool prevCR = false;      // the last byte seen was a CR
    uint64_t notCounted = 0;  // CR bytes and LF bytes directly after a CR
};

// Converts `size` bytes at `in` into `out` and returns the number of bytes
// written. `out` must have room for 2 * size + kKernelOutputSlack bytes.
// For CRLF the LF that completes a final CR is not written: the caller adds it
// when the input ends. Kernels selected with `count` false leave
// SKernelState::notCounted alone, which saves work when no sink listens.
using ByteKernel = size_t (*)(const uint8_t* in, size_t size, uint8_t* out, SKernelState& state);

constexpr size_t kKernelOutputSlack = 128;

// The fastest kernel the running CPU supports for a format (0, 1 or 2).
ByteKernel SelectByteKernel(int format, bool count);

// Kernel families by instruction set, for tests that compare them directly.
ByteKernel SelectSse2Kernel(int format, bool count);
ByteKernel SelectAvx2Kernel(int format, bool count);  // null without AVX2
