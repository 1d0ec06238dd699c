// libFuzzer target: the block converter must agree with the unit-at-a-time
// reference on output and progress calls, for every format and any way of
// cutting the input into blocks; and every kernel family must agree.
//
// Input layout: byte 0 picks the format (mod 3) and whether a sink is used,
// byte 1 seeds the block sizes, the rest is the file's content.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "LineEndingConverter.h"
#include "LineEndingKernels.h"
#include "ReferenceConverter.h"

namespace {

class CLogSink final : public CProgressSink {
public:
    int OnNotify(int, int) override { return 0; }
    int OnBegin(int) override { return 0; }
    int OnEnd() override { return 0; }
    int OnProgress(int doneKiB) override
    {
        log.push_back(doneKiB);
        return 0;
    }
    std::vector<int> log;
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CompareKernels(const std::vector<uint8_t>& input, int format)
{
    ByteKernel sse2 = SelectSse2Kernel(format, true);
    ByteKernel avx2 = SelectAvx2Kernel(format, true);
    if (!avx2)
        return;
    std::vector<uint8_t> a(2 * input.size() + kKernelOutputSlack), b(a.size());
    SKernelState sa, sb;
    size_t na = sse2(input.data(), input.size(), a.data(), sa);
    size_t nb = avx2(input.data(), input.size(), b.data(), sb);
    Check(na == nb && std::equal(a.begin(), a.begin() + na, b.begin()));
    Check(sa.prevCR == sb.prevCR && sa.notCounted == sb.notCounted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    int format = data[0] % 3;
    bool withSink = (data[0] / 3) % 2 == 0;
    uint32_t seed = data[1];
    std::vector<uint8_t> input(data + 2, data + size);

    CLogSink expectedSink, actualSink;
    std::vector<uint8_t> expected = ReferenceConvert(input, format, withSink ? &expectedSink : nullptr);

    CLineEndingConverter converter(format, withSink ? &actualSink : nullptr);
    std::vector<uint8_t> actual;
    size_t at = 0;
    while (at < input.size()) {
        seed = seed * 1103515245u + 12345u;
        size_t piece = std::min<size_t>(input.size() - at, 1 + (seed >> 16) % 97);
        auto out = converter.Convert(input.data() + at, piece);
        actual.insert(actual.end(), out.begin(), out.end());
        at += piece;
    }
    auto rest = converter.Finish();
    actual.insert(actual.end(), rest.begin(), rest.end());

    Check(actual == expected);
    Check(actualSink.log == expectedSink.log);
    CompareKernels(input, format);
    return 0;
}
