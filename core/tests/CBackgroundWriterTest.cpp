// The writer thread must keep the blocks in order, hand buffers back for
// reuse, and turn a failed write into failures of every later call.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "CBackgroundWriter.h"
#include "ThreadStart.h"

namespace {

class CRecordingFile final : public qlfs::IWriteFile {
public:
    explicit CRecordingFile(int failingWrite, std::chrono::milliseconds failAfter = {})
        : m_failingWrite(failingWrite), m_failAfter(failAfter)
    {
    }
    bool Write(const void* data, size_t size) override
    {
        std::unique_lock lock(m_mutex);
        if (++m_writes == m_failingWrite) {
            // A device that takes its time before it reports the error.
            lock.unlock();
            std::this_thread::sleep_for(m_failAfter);
            return false;
        }
        m_content.append(static_cast<const char*>(data), size);
        return true;
    }
    bool ApplyMetadata(const qlfs::FileMetadata&, bool, bool) override { return true; }
    bool Flush() override { return true; }
    bool Close() override { return true; }
    std::string Content()
    {
        std::lock_guard lock(m_mutex);
        return m_content;
    }

private:
    std::mutex m_mutex;
    int m_failingWrite;
    std::chrono::milliseconds m_failAfter;
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

// The last block's write is still running when Finish is called, and then
// fails: Finish must wait for it and report the failure.
TEST(CBackgroundWriter, FinishWaitsForASlowLastWriteThatFails)
{
    CRecordingFile file(3, std::chrono::milliseconds(150));
    CBackgroundWriter writer(file);
    for (int i = 0; i < 3; ++i) {
        std::vector<uint8_t> block = Block(i);
        ASSERT_TRUE(writer.Submit(block, block.size()));
    }
    EXPECT_FALSE(writer.Finish());
}

}  // namespace

// With no thread to be had, the writer writes on the caller's thread: the file
// gets every block in order, and a failing write is still reported.
TEST(CBackgroundWriter, WritesOnTheCallersThreadWhenNoThreadStarts)
{
    SetThreadStartFailureForTests([](unsigned) { return true; });
    std::string expected;
    CRecordingFile file(0);
    {
        CBackgroundWriter writer(file);
        for (int i = 0; i < 50; ++i) {
            std::vector<uint8_t> block = Block(i);
            size_t size = block.size() - 7;
            expected.append(block.begin(), block.begin() + ptrdiff_t(size));
            ASSERT_TRUE(writer.Submit(block, size));
        }
        EXPECT_TRUE(writer.Finish());
    }
    EXPECT_EQ(expected, file.Content());

    CRecordingFile failing(3);
    {
        CBackgroundWriter writer(failing);
        bool accepted = true;
        int submitted = 0;
        for (; submitted < 10 && accepted; ++submitted) {
            std::vector<uint8_t> block = Block(submitted);
            accepted = writer.Submit(block, block.size());
        }
        EXPECT_EQ(3, submitted);
        EXPECT_FALSE(writer.Finish());
    }
    SetThreadStartFailureForTests(nullptr);
}
