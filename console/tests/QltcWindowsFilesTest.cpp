#include <gtest/gtest.h>

#include <windows.h>

#include "QltcProcess.h"

namespace {

constexpr DWORD kMarks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD Marks(const std::filesystem::path& path) { return GetFileAttributesW(path.c_str()) & kMarks; }

}  // namespace

TEST(QltcWindowsFiles, AttributesAreKeptOrDroppedAndBackupsCarryThem)
{
    CScratchFolder folder;
    const auto kept = folder.Write("kept.txt", "k\n");
    const auto dropped = folder.Write("dropped.txt", "d\n");
    const auto backed = folder.Write("backed.txt", "b\n");
    const auto hiddenOnly = folder.Write("hidden.txt", "h\n");
    for (const auto& path : {kept, dropped, backed})
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), kMarks));
    ASSERT_TRUE(SetFileAttributesW(hiddenOnly.c_str(), FILE_ATTRIBUTE_HIDDEN));

    // Hidden files are found in folders like any other.
    const QltcRun scan = RunQltcProcess({"-format", "crlf", "-filter", "h*", "."}, folder.Path());
    EXPECT_EQ(0, scan.exitCode);
    EXPECT_NE(std::string::npos, scan.output.find("   1. hidden.txt\n"));
    EXPECT_EQ("h\r\n", folder.Read("hidden.txt"));
    EXPECT_EQ(0u, Marks(hiddenOnly));

    EXPECT_EQ(0, RunQltcProcess({"-format", "crlf", "-cr", "-ka", "kept.txt"}, folder.Path()).exitCode);
    EXPECT_EQ("k\r\n", folder.Read("kept.txt"));
    EXPECT_EQ(kMarks, Marks(kept));

    EXPECT_EQ(0, RunQltcProcess({"-format", "crlf", "-cr", "dropped.txt"}, folder.Path()).exitCode);
    EXPECT_EQ("d\r\n", folder.Read("dropped.txt"));
    EXPECT_EQ(0u, Marks(dropped));

    EXPECT_EQ(0, RunQltcProcess({"-format", "cr", "-cr", "-bo", "backed.txt"}, folder.Path()).exitCode);
    EXPECT_EQ("b\r", folder.Read("backed.txt"));
    EXPECT_EQ(0u, Marks(backed));
    EXPECT_EQ("b\n", folder.Read("backed.txt.bak"));
    EXPECT_EQ(kMarks, Marks(folder.Path() / "backed.txt.bak"));
}
