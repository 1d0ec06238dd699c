// The AVX2 kernels: 32 bytes per step, used when the CPU and the operating
// system support AVX2. Everything defined in this file is compiled for AVX2;
// it runs only after the run-time check in SelectAvx2Kernel.
#include <immintrin.h>

#include "LineEndingKernels.h"

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,popcnt,bmi"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,popcnt,bmi")
#endif

namespace avx2 {

struct V {
    static constexpr size_t W = 32;
    using Reg = __m256i;
    static Reg Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(uint8_t* p, Reg v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static uint32_t MaskEq(Reg v, uint8_t byte)
    {
        return uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, _mm256_set1_epi8(char(byte)))));
    }
    static Reg Replace(Reg v, uint8_t from, uint8_t to)
    {
        __m256i hit = _mm256_cmpeq_epi8(v, _mm256_set1_epi8(char(from)));
        return _mm256_xor_si256(v, _mm256_and_si256(hit, _mm256_set1_epi8(char(from ^ to))));
    }
};

#include "LineEndingKernel.inl"

}  // namespace avx2

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

ByteKernel SelectAvx2Kernel(int format, bool count)
{
    __builtin_cpu_init();
    if (!__builtin_cpu_supports("avx2"))
        return nullptr;
    return avx2::SelectKernel(format, count);
}
