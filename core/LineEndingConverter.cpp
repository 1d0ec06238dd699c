#include "LineEndingConverter.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr uint32_t kUnitCR = 0x0D;
constexpr uint32_t kUnitLF = 0x0A;
constexpr uint64_t kProgressStep = 1024;

uint32_t ReadUnit(const uint8_t* p, unsigned width, bool bigEndian)
{
    uint32_t value = 0;
    for (unsigned i = 0; i < width; ++i)
        value |= uint32_t(p[bigEndian ? width - 1 - i : i]) << (8 * i);
    return value;
}

void WriteUnit(uint8_t* p, uint32_t value, unsigned width, bool bigEndian)
{
    for (unsigned i = 0; i < width; ++i)
        p[bigEndian ? width - 1 - i : i] = uint8_t(value >> (8 * i));
}

}  // namespace

ByteKernel SelectByteKernel(int format, bool count)
{
    if (ByteKernel kernel = SelectAvx2Kernel(format, count))
        return kernel;
    return SelectSse2Kernel(format, count);
}

CLineEndingConverter::CLineEndingConverter(int format, CProgressSink* sink)
    : m_format(format), m_sink(sink), m_kernel(SelectByteKernel(format, sink != nullptr))
{
}

std::span<const uint8_t> CLineEndingConverter::Convert(const uint8_t* data, size_t size)
{
    m_outSize = 0;
    if (!m_decided) {
        size_t take = std::min(size, kHeaderSize - m_headerSize);
        std::memcpy(m_header + m_headerSize, data, take);
        m_headerSize += take;
        data += take;
        size -= take;
        if (m_headerSize < kHeaderSize)
            return {};
        Decide();
        ConvertDecided(m_header, m_headerSize);
    }
    ConvertDecided(data, size);
    return {m_out.data(), m_outSize};
}

std::span<const uint8_t> CLineEndingConverter::Finish()
{
    m_outSize = 0;
    if (!m_decided) {
        Decide();
        ConvertDecided(m_header, m_headerSize);
    }
    if (m_unitWidth == 1) {
        // The kernels leave the LF of a final CR to the end of the input.
        if (m_format == 0 && m_kernelState.prevCR)
            *Reserve(1) = uint8_t(kUnitLF);
        m_kernelState.prevCR = false;
    } else if (m_partialSize > 0) {
        std::memcpy(Reserve(m_partialSize), m_partial, m_partialSize);
        AddCounted(m_partialSize);
        m_partialSize = 0;
    }
    return {m_out.data(), m_outSize};
}

void CLineEndingConverter::Decide()
{
    const uint8_t* h = m_header;
    size_t n = m_headerSize;
    // FF FE 00 00 is a UTF-32 LE mark before it is a UTF-16 LE one.
    if (n >= 4 && h[0] == 0xFF && h[1] == 0xFE && h[2] == 0 && h[3] == 0) {
        m_unitWidth = 4;
    } else if (n >= 4 && h[0] == 0 && h[1] == 0 && h[2] == 0xFE && h[3] == 0xFF) {
        m_unitWidth = 4;
        m_bigEndian = true;
    } else if (n >= 2 && h[0] == 0xFF && h[1] == 0xFE) {
        m_unitWidth = 2;
    } else if (n >= 2 && h[0] == 0xFE && h[1] == 0xFF) {
        m_unitWidth = 2;
        m_bigEndian = true;
    }
    m_decided = true;
    if (m_unitWidth == 1)
        return;
    // The line end as units: CR LF, CR or LF.
    if (m_format != 2) {
        WriteUnit(m_lineEnd + m_lineEndSize, kUnitCR, m_unitWidth, m_bigEndian);
        m_lineEndSize += m_unitWidth;
    }
    if (m_format != 1) {
        WriteUnit(m_lineEnd + m_lineEndSize, kUnitLF, m_unitWidth, m_bigEndian);
        m_lineEndSize += m_unitWidth;
    }
}

void CLineEndingConverter::ConvertDecided(const uint8_t* data, size_t size)
{
    if (size == 0)
        return;
    if (m_unitWidth == 1)
        ConvertBytes(data, size);
    else
        ConvertUnits(data, size);
}

void CLineEndingConverter::ConvertBytes(const uint8_t* data, size_t size)
{
    uint64_t notCountedBefore = m_kernelState.notCounted;
    uint8_t* out = Reserve(2 * size + kKernelOutputSlack);
    size_t written = m_kernel(data, size, out, m_kernelState);
    m_outSize -= 2 * size + kKernelOutputSlack - written;
    if (m_sink)
        AddCounted(size - (m_kernelState.notCounted - notCountedBefore));
}

void CLineEndingConverter::ConvertUnits(const uint8_t* data, size_t size)
{
    // Units are rare enough (UTF-16/32 files) to go one at a time, but
    // always through memory blocks, never through the C library.
    if (m_partialSize > 0) {
        size_t take = std::min(size, m_unitWidth - m_partialSize);
        std::memcpy(m_partial + m_partialSize, data, take);
        m_partialSize += take;
        data += take;
        size -= take;
        if (m_partialSize < m_unitWidth)
            return;
        ConvertUnit(m_partial);
        m_partialSize = 0;
    }
    size_t whole = size - size % m_unitWidth;
    for (size_t i = 0; i < whole; i += m_unitWidth)
        ConvertUnit(data + i);
    m_partialSize = size - whole;
    std::memcpy(m_partial, data + whole, m_partialSize);
}

void CLineEndingConverter::ConvertUnit(const uint8_t* unit)
{
    uint32_t value = ReadUnit(unit, m_unitWidth, m_bigEndian);
    if (value == kUnitCR) {
        WriteLineEnd();
        m_prevCR = true;
        return;
    }
    bool pairedLF = value == kUnitLF && m_prevCR;
    m_prevCR = false;
    if (pairedLF)
        return;  // the CR before it has written the line end already
    if (value == kUnitLF)
        WriteLineEnd();
    else
        std::memcpy(Reserve(m_unitWidth), unit, m_unitWidth);
    AddCounted(m_unitWidth);
}

void CLineEndingConverter::WriteLineEnd()
{
    std::memcpy(Reserve(m_lineEndSize), m_lineEnd, m_lineEndSize);
}

// Returns room for `size` more output bytes and counts them as written.
uint8_t* CLineEndingConverter::Reserve(size_t size)
{
    size_t needed = m_outSize + size;
    if (needed > m_out.size())
        m_out.resize(std::max(needed, 2 * m_out.size()));
    uint8_t* room = m_out.data() + m_outSize;
    m_outSize = needed;
    return room;
}

void CLineEndingConverter::AddCounted(uint64_t amount)
{
    if (!m_sink)
        return;
    uint64_t before = m_counted / kProgressStep;
    m_counted += amount;
    uint64_t after = m_counted / kProgressStep;
    for (uint64_t step = before + 1; step <= after; ++step)
        m_sink->OnProgress(step > uint64_t(INT_MAX) ? INT_MAX : int(step));
}
