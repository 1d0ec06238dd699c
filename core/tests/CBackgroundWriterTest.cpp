// The writer thread must keep the blocks in order, hand buffers back for
// reuse, and turn a failed write into failures of every later call.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "CBackgroundWriter.h"

namespace {

class CRecordingFile final : public qlfs::IWriteFile {
public:
    explicit CRecordingFile(int failingWrite) : m_failingWrite(failingWrite) {}
    bool Write(const void* data, size_t size) override
    {
        std::lock_guard lock(m_mutex);
        if (++m_writes == m_failingWrite)
            return false;
        m_content.append(static_cast<const char*>(data), size);
        return true;
    }
    bool Close() override { return true; }
    std::string Content()
    {
        std::lock_guard lock(m_mutex);
        return m_content;
    }

private:
    std::mutex m_mutex;
    int m_failingWrite;
    int m_writes = 0;
    std::string m_content;
};

std::vector<uint8_t> Block(int number)
{
    std::string text = "block " + std::to_string(number) + ";";
    std::vector<uint8_t> block(text.begin(), text.end());
    block.resize(block.size() + 7, 'x');  // storage beyond the part to write
    return block;
}

TEST(CBackgroundWriter, WritesInOrderAndStopsAtTheFirstFailure)
{
    std::string expected;
    CRecordingFile file(0);
    {
        CBackgroundWriter writer(file);
        for (int i = 0; i < 200; ++i) {
            std::vector<uint8_t> block = Block(i);
            size_t size = block.size() - 7;
            expected.append(block.begin(), block.begin() + ptrdiff_t(size));
            ASSERT_TRUE(writer.Submit(block, size));
        }
        EXPECT_TRUE(writer.Finish());
    }
    EXPECT_EQ(expected, file.Content());

    CRecordingFile failing(3);
    CBackgroundWriter writer(failing);
    bool accepted = true;
    for (int i = 0; i < 50 && accepted; ++i) {
        std::vector<uint8_t> block = Block(i);
        accepted = writer.Submit(block, block.size());
    }
    EXPECT_FALSE(writer.Finish());
    std::vector<uint8_t> late = Block(99);
    EXPECT_FALSE(writer.Submit(late, late.size()));
    EXPECT_EQ(0u, failing.Content().find("block 0;")) << "blocks before the failure are written in order";
}

}  // namespace
