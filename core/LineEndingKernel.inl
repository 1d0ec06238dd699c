// The block kernel, written once over a vector type V. Each instruction-set
// file includes this inside its own namespace after defining V with:
//   W (bytes per vector), Reg, Load, Store, MaskEq (one bit per byte), Replace.
// No includes here: the including file provides them.

constexpr uint8_t kCR = 0x0D;
constexpr uint8_t kLF = 0x0A;
constexpr int kTargetCRLF = 0;
constexpr int kTargetCR = 1;
constexpr int kTargetLF = 2;

// Converts one vector's worth of input at p, of which `valid` bytes are real
// (the rest is zero padding). p must be readable for 2 * W bytes, because after
// each line end the remainder of the vector is reloaded from the input and
// stored again at its new output position. Returns the new output position.
template <int Target, bool Count>
inline uint8_t* ConvertChunk(const uint8_t* p, unsigned valid, uint8_t* o, SKernelState& state)
{
    typename V::Reg v = V::Load(p);
    uint32_t cr = V::MaskEq(v, kCR);
    uint32_t lf = V::MaskEq(v, kLF);
    uint32_t carry = state.prevCR ? 1u : 0u;
    if ((cr | lf | carry) == 0) {
        V::Store(o, v);
        return o + valid;
    }
    uint32_t validMask = valid >= 32 ? ~0u : (1u << valid) - 1;
    uint32_t afterCR = ((cr << 1) | carry) & validMask;
    state.prevCR = (cr >> (valid - 1)) & 1;
    if constexpr (Count)
        state.notCounted += unsigned(__builtin_popcount(cr)) + unsigned(__builtin_popcount(lf & afterCR));
    unsigned start = 0;
    if constexpr (Target == kTargetCRLF) {
        // A CR stays and an LF after it stays; an LF without a CR before it
        // gets one, and a byte other than LF after a CR gets an LF first.
        uint32_t insert = afterCR ^ lf;
        V::Store(o, v);
        while (insert) {
            unsigned k = unsigned(__builtin_ctz(insert));
            o += k - start;
            *o++ = ((lf >> k) & 1) ? kCR : kLF;
            start = k;
            V::Store(o, V::Load(p + start));
            insert &= insert - 1;
        }
    } else {
        // Every CR or LF becomes the target byte; the LF of a CR LF pair goes.
        constexpr uint8_t from = Target == kTargetLF ? kCR : kLF;
        constexpr uint8_t to = Target == kTargetLF ? kLF : kCR;
        uint32_t drop = lf & afterCR;
        V::Store(o, V::Replace(v, from, to));
        while (drop) {
            unsigned k = unsigned(__builtin_ctz(drop));
            o += k - start;
            start = k + 1;
            V::Store(o, V::Replace(V::Load(p + start), from, to));
            drop &= drop - 1;
        }
    }
    return o + (valid - start);
}

template <int Target, bool Count>
size_t ConvertBlock(const uint8_t* in, size_t size, uint8_t* out, SKernelState& state)
{
    constexpr size_t W = V::W;
    uint8_t* o = out;
    size_t i = 0;
    for (; i + 2 * W <= size; i += W)
        o = ConvertChunk<Target, Count>(in + i, unsigned(W), o, state);
    // The last bytes go through a zero-padded copy, so that no load reads
    // past the caller's buffer; zero bytes are neither CR nor LF.
    alignas(64) uint8_t tail[3 * W] = {};
    size_t rest = size - i;
    __builtin_memcpy(tail, in + i, rest);
    for (size_t t = 0; t < rest; t += W)
        o = ConvertChunk<Target, Count>(tail + t, unsigned(rest - t < W ? rest - t : W), o, state);
    return size_t(o - out);
}

inline ByteKernel SelectKernel(int format, bool count)
{
    switch (format) {
    case kTargetCRLF:
        return count ? &ConvertBlock<kTargetCRLF, true> : &ConvertBlock<kTargetCRLF, false>;
    case kTargetCR:
        return count ? &ConvertBlock<kTargetCR, true> : &ConvertBlock<kTargetCR, false>;
    case kTargetLF:
        return count ? &ConvertBlock<kTargetLF, true> : &ConvertBlock<kTargetLF, false>;
    default:
        return nullptr;
    }
}
