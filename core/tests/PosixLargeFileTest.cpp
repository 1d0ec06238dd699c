// Large real files, whose blocks are written on the background thread,
// convert exactly like the reference in every format.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "ConvertFile.h"
#include "ReferenceConverter.h"
#include "fs/IFileSystem.h"
#include "fs/PosixPath.h"

namespace {

constexpr size_t kLargeFile = size_t(3) << 20;  // several blocks of the background writer

class PosixLargeFile : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() / ("ql-large-" + std::to_string(::getpid()) + "-" +
                                                         testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
        m_file = m_dir / "large.txt";
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    void WriteFile(const std::vector<uint8_t>& bytes)
    {
        std::ofstream(m_file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    std::vector<uint8_t> ReadFile(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::wstring WideFile() const { return qlfs::FromNativePath(m_file.string()); }

    std::filesystem::path m_dir;
    std::filesystem::path m_file;
};

std::vector<uint8_t> MixedText(size_t size)
{
    std::mt19937 random(7);
    std::vector<uint8_t> bytes(size);
    static const uint8_t kAlphabet[] = {'a', 'b', ' ', '\r', '\n', 0, 0x1A, 0xFF};
    for (uint8_t& b : bytes)
        b = kAlphabet[random() % sizeof kAlphabet];
    return bytes;
}

TEST_F(PosixLargeFile, LargeFilesConvertLikeTheReferenceInEveryFormat)
{
    std::vector<uint8_t> input = MixedText(kLargeFile + 12345);
    input.back() = '\r';  // a final CR must still become a whole line end
    for (int format : {0, 1, 2}) {
        WriteFile(input);
        ASSERT_EQ(0, ConvertFile(WideFile().c_str(), format, 0, 0, 0, 0, nullptr));
        EXPECT_EQ(ReferenceConvert(input, format, nullptr), ReadFile(m_file)) << "format " << format;
    }
}

// A file that ends exactly where a block ends is only known to have ended
// by a read that returns nothing; so is an empty one.
TEST_F(PosixLargeFile, EmptyFilesAndFilesOfWholeBlocksConvert)
{
    for (size_t size : {size_t(0), size_t(1) << 20, size_t(2) << 20}) {
        std::vector<uint8_t> input = MixedText(size);
        WriteFile(input);
        ASSERT_EQ(0, ConvertFile(WideFile().c_str(), 0, 0, 0, 0, 0, nullptr)) << size << " bytes";
        EXPECT_EQ(ReferenceConvert(input, 0, nullptr), ReadFile(m_file)) << size << " bytes";
    }
}

}  // namespace
#endif
