// One file under every spelling the POSIX backend meets has one key; two
// files, and a missing file, do not share one.
#ifndef _WIN32
#include "FileKey.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

TEST(SameFileKey, EverySpellingOfOneFileIsOneKeyAndOtherFilesDiffer)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("ql-key-" + std::to_string(::getpid()));
    fs::create_directories(root / "a");
    std::ofstream(root / "a" / "x") << "x\r\n";
    std::ofstream(root / "a" / "y") << "y\r\n";
    fs::create_hard_link(root / "a" / "x", root / "a" / "hard");
    fs::create_symlink("x", root / "a" / "link");
    qlfs::IFileSystem& system = qlfs::PlatformFileSystem();
    const std::wstring a = (root / "a").wstring();
    const std::wstring key = SameFileKey(system, a + L"/x");
    for (const std::wstring& spelling : {a + L"/../a/x", a + L"/./x", a + L"//x", a + L"/hard", a + L"/link"})
        EXPECT_EQ(key, SameFileKey(system, spelling)) << spelling;
    EXPECT_NE(key, SameFileKey(system, a + L"/y"));
    // A missing file falls back to its normalised full path.
    EXPECT_EQ(SameFileKey(system, a + L"/./gone"), SameFileKey(system, a + L"/gone"));
    EXPECT_NE(SameFileKey(system, a + L"/gone"), SameFileKey(system, a + L"/gone2"));
    fs::remove_all(root);
}
#endif
