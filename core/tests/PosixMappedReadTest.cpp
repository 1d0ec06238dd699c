// Large files are converted straight from a read-only mapping on POSIX. These
// cases check that the mapped path converts exactly like the reference, that
// a file shrinking underneath the mapping is a read failure rather than a
// crash, and that bytes appended meanwhile are not lost.
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

constexpr size_t kLargeFile = size_t(3) << 20;  // well above the size that is mapped

class PosixMappedRead : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() / ("ql-map-" + std::to_string(::getpid()) + "-" +
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

TEST_F(PosixMappedRead, LargeFilesConvertLikeTheReferenceInEveryFormat)
{
    std::vector<uint8_t> input = MixedText(kLargeFile + 12345);
    input.back() = '\r';  // a final CR must still become a whole line end
    for (int format : {0, 1, 2}) {
        WriteFile(input);
        ASSERT_EQ(0, ConvertFile(WideFile().c_str(), format, 0, 0, 0, 0, nullptr));
        EXPECT_EQ(ReferenceConvert(input, format, nullptr), ReadFile(m_file)) << "format " << format;
    }
}

struct SWalkProbe {
    int fd = -1;
    unsigned sum = 0;
    int pieces = 0;
    bool shrink = false;
    std::string append;
};

bool ProbePiece(void* context, const uint8_t* data, size_t size)
{
    auto* probe = static_cast<SWalkProbe*>(context);
    // Touch every byte, as the converter does: pages past a new end fault here.
    for (size_t i = 0; i < size; ++i)
        probe->sum += data[i];
    if (probe->pieces++ == 0) {
        if (probe->shrink && ::ftruncate(probe->fd, 4096) != 0)
            return false;
        if (!probe->append.empty() &&
            ::pwrite(probe->fd, probe->append.data(), probe->append.size(), off_t(kLargeFile)) < 0)
            return false;
    }
    return true;
}

TEST_F(PosixMappedRead, ShrinkingIsAReadFailureAndGrowthIsReadOn)
{
    auto& fs = qlfs::PlatformFileSystem();

    WriteFile(MixedText(kLargeFile));
    SWalkProbe shrinking;
    shrinking.shrink = true;
    shrinking.fd = ::open(m_file.c_str(), O_WRONLY);
    ASSERT_GE(shrinking.fd, 0);
    {
        auto reader = fs.OpenRead(WideFile());
        ASSERT_TRUE(reader);
        EXPECT_EQ(qlfs::IReadFile::kMappedFailed, reader->ConsumeMapped(64 << 10, ProbePiece, &shrinking));
    }
    ::close(shrinking.fd);

    WriteFile(MixedText(kLargeFile));
    SWalkProbe growing;
    growing.append = "appended while mapped";
    growing.fd = ::open(m_file.c_str(), O_WRONLY);
    ASSERT_GE(growing.fd, 0);
    auto reader = fs.OpenRead(WideFile());
    ASSERT_TRUE(reader);
    EXPECT_EQ(qlfs::IReadFile::kMappedDone, reader->ConsumeMapped(64 << 10, ProbePiece, &growing));
    ::close(growing.fd);
    std::string rest(100, '\0');
    rest.resize(size_t(reader->Read(rest.data(), rest.size())));
    EXPECT_EQ(growing.append, rest);
}

}  // namespace
#endif
