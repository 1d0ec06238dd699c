// Throughput of the in-memory conversion, per format and instruction set, on
// text with a line end every 40-60 bytes and on text without any: the part of
// a file conversion that does not depend on the disk.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "LineEndingConverter.h"
#include "LineEndingKernels.h"

namespace {

constexpr size_t kBlockSize = size_t(1) << 20;

// kind 0: CRLF lines, 1: LF lines, 2: a mixture of CRLF, LF and CR, 3: none.
std::vector<uint8_t> MakeText(int kind)
{
    std::mt19937 rng(kind);
    std::uniform_int_distribution<int> lineLength(40, 60), letter('a', 'z'), ending(0, 2);
    std::vector<uint8_t> text;
    while (text.size() < kBlockSize) {
        for (int i = lineLength(rng); i > 0; --i)
            text.push_back(uint8_t(letter(rng)));
        int end = kind == 2 ? ending(rng) : kind;
        if (end == 0 || end == 2)
            text.push_back('\r');
        if (end == 0 || end == 1)
            text.push_back('\n');
    }
    text.resize(kBlockSize);
    return text;
}

void RunKernel(benchmark::State& state, ByteKernel kernel)
{
    if (!kernel) {
        state.SkipWithError("instruction set not available");
        return;
    }
    std::vector<uint8_t> text = MakeText(int(state.range(1)));
    std::vector<uint8_t> out(2 * text.size() + kKernelOutputSlack);
    for (auto _ : state) {
        SKernelState kernelState;
        benchmark::DoNotOptimize(kernel(text.data(), text.size(), out.data(), kernelState));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_Sse2(benchmark::State& state)
{
    RunKernel(state, SelectSse2Kernel(int(state.range(0)), false));
}

void BM_Avx2(benchmark::State& state)
{
    RunKernel(state, SelectAvx2Kernel(int(state.range(0)), false));
}

// The whole converter with a progress sink attached, as the GUI runs it.
class CNullSink final : public CProgressSink {
public:
    int OnNotify(int, int) override { return 0; }
    int OnBegin(int) override { return 0; }
    int OnEnd() override { return 0; }
    int OnProgress(int) override { return 0; }
};

void BM_ConverterWithSink(benchmark::State& state)
{
    std::vector<uint8_t> text = MakeText(int(state.range(1)));
    CNullSink sink;
    for (auto _ : state) {
        CLineEndingConverter converter(int(state.range(0)), &sink);
        benchmark::DoNotOptimize(converter.Convert(text.data(), text.size()).size());
        benchmark::DoNotOptimize(converter.Finish().size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

// {target format, text kind}: CRLF->LF, LF->CRLF, mixed->CR, no line ends->LF.
void Cases(benchmark::internal::Benchmark* bench)
{
    bench->ArgNames({"format", "text"});
    bench->Args({2, 0})->Args({0, 1})->Args({1, 2})->Args({2, 3});
}

}  // namespace

BENCHMARK(BM_Sse2)->Apply(Cases);
BENCHMARK(BM_Avx2)->Apply(Cases);
BENCHMARK(BM_ConverterWithSink)->Apply(Cases);

BENCHMARK_MAIN();
