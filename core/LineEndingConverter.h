#pragma once
// Streaming line-ending converter: the input arrives in blocks of any size and
// the output comes back block by block, exactly as if the whole input had been
// converted in one piece.
//
// Every CR LF pair, lone CR and lone LF becomes one line end of the target
// format. A file that starts with a UTF-32 or UTF-16 byte-order mark (LE or BE)
// is converted in its own code units: CR and LF are U+000D and U+000A in that
// unit size and byte order, the mark stays, and trailing bytes that do not fill
// a unit are copied unchanged. Without a mark the input is plain bytes.
//
// Progress: a counter advances by the width of every counted unit (1, 2 or 4
// bytes); CR units and the LF of a CR LF pair are not counted. Each multiple of
// 1024 the counter reaches is reported once, in order, as OnProgress(counter /
// 1024); widths divide 1024, so no multiple is skipped. Trailing bytes after
// the last whole unit count one each. Reported values are clamped to INT_MAX.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "LineEndingKernels.h"
#include "ProgressSink.h"

class CLineEndingConverter {
public:
    // `format` must be 0, 1 or 2; `sink` may be null.
    CLineEndingConverter(int format, CProgressSink* sink);

    // Converts the next block. The result stays valid until the next call.
    std::span<const uint8_t> Convert(const uint8_t* data, size_t size);
    // The input has ended: returns whatever is still owed to the output.
    std::span<const uint8_t> Finish();
    // Exchanges the storage behind the last result with `spare`: the result
    // then lives on in `spare` while the next block is converted.
    void SwapOutput(std::vector<uint8_t>& spare) { m_out.swap(spare); }

    // The unit width chosen from the start of the input (1 until decided).
    unsigned UnitWidth() const { return m_unitWidth; }

private:
    static constexpr size_t kHeaderSize = 4;  // enough to recognise every mark

    void Decide();
    void ConvertDecided(const uint8_t* data, size_t size);
    void ConvertBytes(const uint8_t* data, size_t size);
    void ConvertUnits(const uint8_t* data, size_t size);
    void ConvertUnit(const uint8_t* unit);
    void WriteLineEnd();
    uint8_t* Reserve(size_t size);
    void AddCounted(uint64_t amount);

    int m_format;
    CProgressSink* m_sink;
    ByteKernel m_kernel;
    SKernelState m_kernelState;

    bool m_decided = false;
    uint8_t m_header[kHeaderSize] = {};
    size_t m_headerSize = 0;

    unsigned m_unitWidth = 1;
    bool m_bigEndian = false;
    bool m_prevCR = false;  // unit mode: the last unit was a CR
    uint8_t m_partial[kHeaderSize] = {};
    size_t m_partialSize = 0;
    uint8_t m_lineEnd[2 * kHeaderSize] = {};  // the target line end in units
    size_t m_lineEndSize = 0;

    uint64_t m_counted = 0;
    std::vector<uint8_t> m_out;
    size_t m_outSize = 0;
};
