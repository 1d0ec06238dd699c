// The block converter against the unit-at-a-time reference: output and the
// sink's call sequence, for any block split, all formats, with and without a
// byte-order mark.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "LineEndingConverter.h"
#include "LineEndingKernels.h"
#include "RecordingSink.h"
#include "ReferenceConverter.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ToBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// Feeds `input` to a fresh converter in blocks whose sizes come from `split`.
template <typename Split>
Bytes ConvertInBlocks(const Bytes& input, int format, CProgressSink* sink, Split split)
{
    CLineEndingConverter converter(format, sink);
    Bytes out;
    size_t at = 0;
    while (at < input.size()) {
        size_t size = std::min(split(), input.size() - at);
        auto piece = converter.Convert(input.data() + at, size);
        out.insert(out.end(), piece.begin(), piece.end());
        at += size;
    }
    auto rest = converter.Finish();
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

Bytes ConvertWhole(const Bytes& input, int format)
{
    return ConvertInBlocks(input, format, nullptr, [&] { return input.size() + 1; });
}

// Text in which CR, LF and ordinary bytes appear in random runs, with long
// stretches free of line ends, so that vectors of every kind occur.
Bytes RandomText(std::mt19937& rng, size_t size)
{
    Bytes text;
    text.reserve(size);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> byte(0, 255);
    while (text.size() < size) {
        switch (kind(rng)) {
        case 0: text.push_back(0x0D); break;
        case 1: text.push_back(0x0A); break;
        case 2: text.push_back(0x0D), text.push_back(0x0A); break;
        case 3: text.insert(text.end(), size_t(byte(rng)) % 200, 'x'); break;
        default: text.push_back(uint8_t(byte(rng))); break;
        }
    }
    text.resize(size);
    return text;
}

// Units of the given width and byte order, drawn from CR, LF, U+0D0A-like
// values whose bytes look like line ends, and random code points.
Bytes RandomUnits(std::mt19937& rng, size_t units, unsigned width, bool bigEndian)
{
    static const uint32_t kTricky[] = {0x0D, 0x0A, 0x0D0A, 0x0A0D, 0x0D00, 0x0A00, 0x000D0000, 0x20};
    std::uniform_int_distribution<int> pick(0, 11);
    Bytes text;
    for (size_t u = 0; u < units; ++u) {
        int p = pick(rng);
        uint32_t value = p < 8 ? kTricky[p] : uint32_t(rng());
        for (unsigned k = 0; k < width; ++k)
            text.push_back(uint8_t(value >> (8 * (bigEndian ? width - 1 - k : k))));
    }
    return text;
}

TEST(LineEndingConverter, WorkedExamplesInEveryFormat)
{
    struct Row {
        const char* input;
        const char* expected[3];  // CRLF, CR, LF
    };
    const Row rows[] = {
        {"a\r\nb", {"a\r\nb", "a\rb", "a\nb"}},
        {"a\rb", {"a\r\nb", "a\rb", "a\nb"}},
        {"a\nb", {"a\r\nb", "a\rb", "a\nb"}},
        {"a\n\rb", {"a\r\n\r\nb", "a\r\rb", "a\n\nb"}},
        {"a\r\r\nb", {"a\r\n\r\nb", "a\r\rb", "a\n\nb"}},
        {"a\r", {"a\r\n", "a\r", "a\n"}},
        {"", {"", "", ""}},
    };
    for (const Row& row : rows) {
        for (int format = 0; format < 3; ++format) {
            Bytes input = ToBytes(row.input);
            EXPECT_EQ(ConvertWhole(input, format), ToBytes(row.expected[format]))
                << "input " << testing::PrintToString(row.input) << " format " << format;
            EXPECT_EQ(ReferenceConvert(input, format, nullptr), ToBytes(row.expected[format]));
        }
    }
    // NUL and Ctrl-Z are ordinary bytes.
    Bytes controls = {'a', 0x00, 0x1A, 0x0D};
    EXPECT_EQ(ConvertWhole(controls, 2), (Bytes{'a', 0x00, 0x1A, 0x0A}));
}

TEST(LineEndingConverter, MatchesReferenceForRandomBytesAndBlocks)
{
    std::mt19937 rng(20261207);
    for (int round = 0; round < 300; ++round) {
        std::uniform_int_distribution<size_t> length(0, round < 200 ? 300 : 20000);
        Bytes input = RandomText(rng, length(rng));
        std::uniform_int_distribution<size_t> block(1, round % 3 == 0 ? 7 : 5000);
        for (int format = 0; format < 3; ++format) {
            CRecordingSink expectedSink, actualSink;
            Bytes expected = ReferenceConvert(input, format, &expectedSink);
            Bytes actual = ConvertInBlocks(input, format, &actualSink, [&] { return block(rng); });
            ASSERT_EQ(actual, expected) << "round " << round << " format " << format;
            ASSERT_EQ(actualSink.Calls(), expectedSink.Calls()) << "round " << round;
            ASSERT_EQ(ConvertInBlocks(input, format, nullptr, [&] { return block(rng); }), expected);
        }
    }
}

TEST(LineEndingConverter, ConvertsByteOrderMarkedFilesInTheirUnits)
{
    struct Mark {
        Bytes bytes;
        unsigned width;
        bool bigEndian;
    };
    const Mark marks[] = {
        {{0xFF, 0xFE, 0, 0}, 4, false},
        {{0, 0, 0xFE, 0xFF}, 4, true},
        {{0xFF, 0xFE}, 2, false},
        {{0xFE, 0xFF}, 2, true},
    };
    // A hand-checked case: UTF-16 LE "a CR LF b LF" to CR keeps the mark.
    Bytes utf16 = {0xFF, 0xFE, 'a', 0, 0x0D, 0, 0x0A, 0, 'b', 0, 0x0A, 0, 0x0D};
    EXPECT_EQ(ConvertWhole(utf16, 1), (Bytes{0xFF, 0xFE, 'a', 0, 0x0D, 0, 'b', 0, 0x0D, 0, 0x0D}));
    // U+0A0D holds both line-end bytes and is still an ordinary character.
    Bytes be = {0xFE, 0xFF, 0x0A, 0x0D, 0x00, 0x0A};
    EXPECT_EQ(ConvertWhole(be, 0), (Bytes{0xFE, 0xFF, 0x0A, 0x0D, 0x00, 0x0D, 0x00, 0x0A}));

    std::mt19937 rng(4242);
    for (int round = 0; round < 200; ++round) {
        const Mark& mark = marks[round % 4];
        Bytes input = mark.bytes;
        Bytes units = RandomUnits(rng, size_t(rng() % 900), mark.width, mark.bigEndian);
        input.insert(input.end(), units.begin(), units.end());
        input.resize(input.size() + rng() % mark.width, 0x0D);  // a partial unit at the end
        std::uniform_int_distribution<size_t> block(1, 37);
        for (int format = 0; format < 3; ++format) {
            CRecordingSink expectedSink, actualSink;
            Bytes expected = ReferenceConvert(input, format, &expectedSink);
            ASSERT_EQ(ConvertInBlocks(input, format, &actualSink, [&] { return block(rng); }), expected);
            ASSERT_EQ(actualSink.Calls(), expectedSink.Calls());
            ASSERT_TRUE(std::equal(mark.bytes.begin(), mark.bytes.end(), expected.begin()));
        }
    }
    // Shorter than a UTF-32 mark: FF FE 00 is UTF-16 LE with one stray byte.
    EXPECT_EQ(ConvertWhole(Bytes{0xFF, 0xFE, 0x00}, 0), (Bytes{0xFF, 0xFE, 0x00}));
    EXPECT_EQ(ConvertWhole(Bytes{0xFF, 0xFE, 0x0A, 0x00}, 0), (Bytes{0xFF, 0xFE, 0x0D, 0x00, 0x0A, 0x00}));
}

TEST(LineEndingConverter, EveryKernelFamilyAgrees)
{
    std::mt19937 rng(77);
    ByteKernel families[2][3];
    for (int format = 0; format < 3; ++format) {
        families[0][format] = SelectSse2Kernel(format, true);
        families[1][format] = SelectAvx2Kernel(format, true);
    }
    for (int round = 0; round < 100; ++round) {
        Bytes input = RandomText(rng, rng() % 3000);
        bool startAfterCR = round % 2;
        for (int format = 0; format < 3; ++format) {
            Bytes first;
            SKernelState firstState;
            for (auto& family : families) {
                if (!family[format])
                    continue;  // no AVX2 on this CPU
                SKernelState state;
                state.prevCR = startAfterCR;
                Bytes out(2 * input.size() + kKernelOutputSlack);
                out.resize(family[format](input.data(), input.size(), out.data(), state));
                if (&family == &families[0]) {
                    first = out;
                    firstState = state;
                    continue;
                }
                EXPECT_EQ(out, first);
                EXPECT_EQ(state.prevCR, firstState.prevCR);
                EXPECT_EQ(state.notCounted, firstState.notCounted);
            }
        }
    }
}

// Counts progress without storing every call: enough for inputs of many GiB.
class CCountingSink final : public CProgressSink {
public:
    int OnNotify(int, int) override { return 0; }
    int OnBegin(int) override { return 0; }
    int OnEnd() override { return 0; }
    int OnProgress(int doneKiB) override
    {
        inOrder = inOrder && doneKiB == last + 1;
        last = doneKiB;
        return 0;
    }
    int last = 0;
    bool inOrder = true;
};

TEST(LineEndingConverter, CountsPastFourGibibytes)
{
    // 4.3 GiB of 64-byte lines ending in CR LF, so that even the counted bytes
    // (62 per line) pass 2^32: 64-bit counters must neither wrap nor lose a
    // progress step on the way.
    Bytes block(1 << 20, 'x');
    for (size_t i = 62; i < block.size(); i += 64)
        block[i] = '\r', block[i + 1] = '\n';
    CCountingSink sink;
    CLineEndingConverter converter(2, &sink);
    const uint64_t blocks = 4400;
    uint64_t outBytes = 0;
    for (uint64_t b = 0; b < blocks; ++b)
        outBytes += converter.Convert(block.data(), block.size()).size();
    outBytes += converter.Finish().size();
    const uint64_t lines = blocks * block.size() / 64;
    const uint64_t counted = lines * 62;
    EXPECT_EQ(outBytes, lines * 63);
    EXPECT_TRUE(sink.inOrder);
    EXPECT_EQ(uint64_t(sink.last), counted / 1024);
    EXPECT_GT(uint64_t(sink.last), uint64_t(UINT32_MAX) / 1024);
}

}  // namespace
