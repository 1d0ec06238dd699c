#include "ReferenceConverter.h"

#include <climits>
#include <cstddef>
#include <initializer_list>

namespace {

struct SUnitLayout {
    unsigned width = 1;
    bool bigEndian = false;
};

bool StartsWith(const std::vector<uint8_t>& input, std::initializer_list<uint8_t> mark)
{
    if (input.size() < mark.size())
        return false;
    size_t i = 0;
    for (uint8_t byte : mark)
        if (input[i++] != byte)
            return false;
    return true;
}

SUnitLayout DetectLayout(const std::vector<uint8_t>& input)
{
    if (StartsWith(input, {0xFF, 0xFE, 0x00, 0x00}))
        return {4, false};
    if (StartsWith(input, {0x00, 0x00, 0xFE, 0xFF}))
        return {4, true};
    if (StartsWith(input, {0xFF, 0xFE}))
        return {2, false};
    if (StartsWith(input, {0xFE, 0xFF}))
        return {2, true};
    return {};
}

class CReferenceMachine {
public:
    CReferenceMachine(int format, CProgressSink* sink, SUnitLayout layout)
        : m_format(format), m_sink(sink), m_layout(layout)
    {
    }

    // Steps: read a unit; a CR writes a line end and swallows a directly
    // following LF; an LF writes a line end; anything else is copied.
    std::vector<uint8_t> Run(const std::vector<uint8_t>& input)
    {
        m_input = &input;
        uint32_t c = 0;
        bool pending = false;  // c holds a unit read after a CR, not yet handled
        for (;;) {
            if (!pending && !Next(c))
                break;
            pending = false;
            if (c == 0x0D) {
                WriteLineEnd();
                if (!Next(c))
                    break;
                pending = c != 0x0A;
                continue;
            }
            if (c == 0x0A)
                WriteLineEnd();
            else
                WriteUnit(c);
            Count(m_layout.width);
        }
        for (; m_at < input.size(); ++m_at) {
            m_out.push_back(input[m_at]);
            Count(1);
        }
        return std::move(m_out);
    }

private:
    // The next whole unit; false at the end (a partial unit stays unread).
    bool Next(uint32_t& value)
    {
        if (m_at + m_layout.width > m_input->size())
            return false;
        value = 0;
        for (unsigned k = 0; k < m_layout.width; ++k) {
            unsigned shift = m_layout.bigEndian ? 8 * (m_layout.width - 1 - k) : 8 * k;
            value |= uint32_t((*m_input)[m_at + k]) << shift;
        }
        m_at += m_layout.width;
        return true;
    }

    void WriteUnit(uint32_t value)
    {
        for (unsigned k = 0; k < m_layout.width; ++k) {
            unsigned shift = m_layout.bigEndian ? 8 * (m_layout.width - 1 - k) : 8 * k;
            m_out.push_back(uint8_t(value >> shift));
        }
    }

    void WriteLineEnd()
    {
        if (m_format == 0 || m_format == 1)
            WriteUnit(0x0D);
        if (m_format == 0 || m_format == 2)
            WriteUnit(0x0A);
    }

    void Count(unsigned amount)
    {
        if (!m_sink)
            return;
        m_counter += amount;
        if (m_counter % 1024 == 0)
            m_sink->OnProgress(m_counter / 1024 > INT_MAX ? INT_MAX : int(m_counter / 1024));
    }

    int m_format;
    CProgressSink* m_sink;
    SUnitLayout m_layout;
    const std::vector<uint8_t>* m_input = nullptr;
    size_t m_at = 0;
    uint64_t m_counter = 0;
    std::vector<uint8_t> m_out;
};

}  // namespace

std::vector<uint8_t> ReferenceConvert(const std::vector<uint8_t>& input, int format, CProgressSink* sink)
{
    return CReferenceMachine(format, sink, DetectLayout(input)).Run(input);
}
