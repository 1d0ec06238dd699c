// The platform's file-system backend on real files: natively the POSIX one,
// under Wine the Win32 one. Attributes, renames that never replace, times,
// folders, and ConvertFile's options end to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

#include "ConvertFile.h"
#include "fs/IFileSystem.h"

#ifdef _WIN32
#include "CUniqueHandle.h"
#else
#include <clocale>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fs/PosixPath.h"
#endif

namespace {

std::wstring WidePath(const std::filesystem::path& path)
{
#ifdef _WIN32
    return path.wstring();
#else
    return qlfs::FromNativePath(path.string());
#endif
}

class FileSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> serial{0};
        auto base = std::filesystem::temp_directory_path() /
                    ("ql-fs-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
                     "-" + std::to_string(serial++));
        std::filesystem::create_directories(base);
        m_base = base;
        m_dir = WidePath(base);
    }

    void TearDown() override
    {
        // Read-only files would stop the clean-up on Windows.
        m_fs.EnumerateFolder(m_dir, [&](const qlfs::FolderEntry& entry) { m_fs.SetAttributes(Path(entry.name), 0); });
        std::error_code ignored;
        std::filesystem::remove_all(m_base, ignored);
    }

    std::wstring Path(const std::wstring& name) const { return m_dir + qlfs::kPathSeparator + name; }

    void Write(const std::wstring& name, const std::string& content)
    {
        m_fs.Delete(Path(name));
        bool nameTaken = false;
        auto file = m_fs.CreateNew(Path(name), nameTaken);
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->Write(content.data(), content.size()));
        ASSERT_TRUE(file->Close());
    }

    std::string Read(const std::wstring& name)
    {
        auto file = m_fs.OpenRead(Path(name));
        if (!file)
            return "<cannot open>";
        std::string content(size_t(std::max<int64_t>(file->Size(), 0)) + 16, '\0');
        int64_t got = file->Read(content.data(), content.size());
        content.resize(size_t(std::max<int64_t>(got, 0)));
        return content;
    }

    std::vector<std::wstring> Listing()
    {
        std::vector<std::wstring> names;
        m_fs.EnumerateFolder(m_dir, [&](const qlfs::FolderEntry& entry) {
            names.push_back(entry.name + (entry.isFolder ? L"/" : L""));
        });
        std::sort(names.begin(), names.end());
        return names;
    }

    qlfs::IFileSystem& m_fs = qlfs::PlatformFileSystem();
    std::filesystem::path m_base;
    std::wstring m_dir;
};

TEST_F(FileSystemTest, FilesFoldersAndIdentities)
{
    Write(L"a.txt", "abc\r\n");
    std::filesystem::create_directory(m_base / "sub");
    EXPECT_EQ(Read(L"a.txt"), "abc\r\n");
    EXPECT_EQ(m_fs.OpenRead(Path(L"a.txt"))->Size(), 5);
    EXPECT_TRUE(m_fs.Exists(Path(L"sub")));
    EXPECT_TRUE(m_fs.IsFolder(Path(L"sub")));
    EXPECT_FALSE(m_fs.IsFolder(Path(L"a.txt")));
    EXPECT_FALSE(m_fs.Exists(Path(L"none")));
    EXPECT_EQ(m_fs.GetAttributes(Path(L"none")), qlfs::kInvalidAttributes);
    EXPECT_FALSE(m_fs.OpenRead(Path(L"sub")));
    EXPECT_EQ(Listing(), (std::vector<std::wstring>{L"a.txt", L"sub/"}));

    qlfs::FolderId first, again, sub;
    ASSERT_TRUE(m_fs.GetFolderId(m_dir, first));
    ASSERT_TRUE(m_fs.GetFolderId(m_dir + qlfs::kPathSeparator, again));
    ASSERT_TRUE(m_fs.GetFolderId(Path(L"sub"), sub));
    EXPECT_EQ(first, again);
    EXPECT_FALSE(first == sub);
    std::wstring sep(1, qlfs::kPathSeparator);
#ifdef _WIN32
    EXPECT_EQ(m_fs.FullPath(Path(L"sub") + sep + L".." + sep + L"." + sep + L"a.txt"), Path(L"a.txt"));
#else
    // ".." is left to the file system: after a link it is the target's parent.
    EXPECT_EQ(m_fs.FullPath(Path(L"sub") + sep + L".." + sep + L"." + sep + L"a.txt"),
              Path(L"sub") + sep + L".." + sep + L"a.txt");
    EXPECT_EQ(m_fs.FullPath(L"/"), L"/");
    EXPECT_EQ(m_fs.FullPath(L"//./"), L"/");
    EXPECT_EQ(m_fs.FullPath(L"/a//./b/"), L"/a/b/");
    EXPECT_EQ(m_fs.FullPath(L"./x"), qlfs::FromNativePath((std::filesystem::current_path() / "x").string()));
#endif
}

TEST_F(FileSystemTest, RenameNeverReplacesAndDeleteRemoves)
{
    Write(L"from", "1");
    Write(L"to", "2");
    EXPECT_FALSE(m_fs.Rename(Path(L"from"), Path(L"to")));
    EXPECT_EQ(Read(L"from"), "1");
    EXPECT_EQ(Read(L"to"), "2");
    EXPECT_TRUE(m_fs.Rename(Path(L"from"), Path(L"free")));
    EXPECT_EQ(Read(L"free"), "1");
    EXPECT_FALSE(m_fs.Exists(Path(L"from")));
    EXPECT_TRUE(m_fs.Delete(Path(L"free")));
    EXPECT_FALSE(m_fs.Delete(Path(L"free")));
    EXPECT_EQ(Listing(), std::vector<std::wstring>{L"to"});
}

// Creation claims a name; Replace takes an existing one over in one step; a
// hard link is a second name of the same file.
TEST_F(FileSystemTest, CreateNewReplaceAndLink)
{
    Write(L"a", "1");
    bool taken = false;
    EXPECT_FALSE(m_fs.CreateNew(Path(L"a"), taken));
    EXPECT_TRUE(taken);
    std::filesystem::create_directory(m_base / "folder");
    EXPECT_FALSE(m_fs.CreateNew(Path(L"folder"), taken));
    EXPECT_TRUE(taken);
    EXPECT_EQ(Read(L"a"), "1");

    Write(L"b", "2");
    EXPECT_TRUE(m_fs.Link(Path(L"a"), Path(L"a2"), taken));
    EXPECT_FALSE(m_fs.Link(Path(L"a"), Path(L"b"), taken));
    EXPECT_TRUE(taken);
    EXPECT_TRUE(m_fs.Replace(Path(L"b"), Path(L"a")));
    EXPECT_EQ(Read(L"a"), "2");
    EXPECT_EQ(Read(L"a2"), "1");
    EXPECT_EQ(Listing(), (std::vector<std::wstring>{L"a", L"a2", L"folder/"}));
}

#ifdef _WIN32
// Device names and pipes are no disk files: they are never opened for reading.
TEST_F(FileSystemTest, DevicesAndPipesAreNotOpened)
{
    for (const wchar_t* device : {L"NUL", L"con.txt", L"COM1"})
        EXPECT_FALSE(m_fs.OpenRead(device)) << device;
    EXPECT_FALSE(m_fs.OpenRead(Path(L"aux.h")));
    const wchar_t* pipeName = L"\\\\.\\pipe\\ql-fs-test-pipe";
    CFileHandle pipe(
        CreateNamedPipeW(pipeName, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr));
    ASSERT_TRUE(pipe.IsValid());
    EXPECT_FALSE(m_fs.OpenRead(pipeName));
}

// A symbolic link converts its target; the link stays a link. Wine's
// GetFinalPathNameByHandleW names the link itself rather than its target:
// there the file must at least stay safe.
TEST_F(FileSystemTest, SymbolicLinksConvertTheirTargets)
{
    Write(L"target.txt", "a\r\nb\r\n");
    if (!CreateSymbolicLinkW(Path(L"link.txt").c_str(), L"target.txt", 0) ||
        !(GetFileAttributesW(Path(L"link.txt").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT))
        GTEST_SKIP() << "no symbolic links here";
    const bool resolves = m_fs.ResolveFileLink(Path(L"link.txt")) == Path(L"target.txt");
    const int result = ConvertFile(m_fs, Path(L"link.txt"), 2, false, false, false, true, nullptr, nullptr);
    EXPECT_TRUE(GetFileAttributesW(Path(L"link.txt").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(Read(L"target.txt"), result == 0 ? "a\nb\n" : "a\r\nb\r\n");
    if (!resolves)
        GTEST_SKIP() << "links are not resolved to their targets here";
    EXPECT_EQ(0, result);
    EXPECT_EQ(Read(L"target.txt.bak"), "a\r\nb\r\n");
}
#endif

TEST_F(FileSystemTest, ReadOnlyAndOtherAttributes)
{
    Write(L"f", "x");
    EXPECT_FALSE(m_fs.GetAttributes(Path(L"f")) & qlfs::kAttrReadOnly);
    ASSERT_TRUE(m_fs.SetAttributes(Path(L"f"), qlfs::kAttrReadOnly));
    EXPECT_TRUE(m_fs.GetAttributes(Path(L"f")) & qlfs::kAttrReadOnly);
#ifdef _WIN32
    EXPECT_FALSE(m_fs.Delete(Path(L"f")));  // Windows refuses to delete a read-only file
    const uint32_t marks = qlfs::kAttrReadOnly | qlfs::kAttrHidden | qlfs::kAttrSystem;
    ASSERT_TRUE(m_fs.SetAttributes(Path(L"f"), marks));
    EXPECT_EQ(m_fs.GetAttributes(Path(L"f")) & marks, marks);
#else
    // Read-only is the owner-write bit, judged from the mode even for root.
    struct stat info {};
    ASSERT_EQ(::stat(::qlfs::ToNativePath(Path(L"f")).c_str(), &info), 0);
    EXPECT_FALSE(info.st_mode & S_IWUSR);
    // Without a mode of its own, an attribute value changes owner-write only.
    const std::string native = ::qlfs::ToNativePath(Path(L"f"));
    ::chmod(native.c_str(), 0664);
    ASSERT_TRUE(m_fs.SetAttributes(Path(L"f"), qlfs::kAttrReadOnly));
    ASSERT_EQ(::stat(native.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0464u);
    const uint32_t kinds = qlfs::kAttrReadOnly | qlfs::kAttrNormal | qlfs::kAttrDirectory;
    EXPECT_EQ(m_fs.GetAttributes(Path(L"f")) & kinds, qlfs::kAttrReadOnly);
    ASSERT_TRUE(m_fs.SetAttributes(Path(L"f"), 0));
    ASSERT_EQ(::stat(native.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
    EXPECT_EQ(m_fs.GetAttributes(Path(L"f")) & kinds, qlfs::kAttrNormal) << "as Windows reports a plain file";
    EXPECT_EQ(m_fs.GetAttributes(m_dir) & kinds, qlfs::kAttrDirectory);
    // A link is not the file it points to: its target keeps its mode.
    std::filesystem::create_symlink(m_base / "f", m_base / "link");
    EXPECT_FALSE(m_fs.SetAttributes(Path(L"link"), qlfs::kAttrReadOnly));
    ASSERT_EQ(::stat(native.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
    m_fs.Delete(Path(L"link"));
    // An attribute value read back restores the whole mode.
    ::chmod(::qlfs::ToNativePath(Path(L"f")).c_str(), 0640);
    uint32_t kept = m_fs.GetAttributes(Path(L"f"));
    ::chmod(::qlfs::ToNativePath(Path(L"f")).c_str(), 0777);
    ASSERT_TRUE(m_fs.SetAttributes(Path(L"f"), kept));
    ASSERT_EQ(::stat(::qlfs::ToNativePath(Path(L"f")).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
#endif
    ASSERT_TRUE(m_fs.SetAttributes(Path(L"f"), 0));
    EXPECT_FALSE(m_fs.GetAttributes(Path(L"f")) & qlfs::kAttrReadOnly);
    EXPECT_TRUE(m_fs.Delete(Path(L"f")));
}

TEST_F(FileSystemTest, TimesInWholeSeconds)
{
    Write(L"t", "x");
    const qlfs::FileTimes wanted{1000000000, 1234567890};
    ASSERT_TRUE(m_fs.SetTimes(Path(L"t"), wanted));
    qlfs::FileTimes got;
    ASSERT_TRUE(m_fs.GetTimes(Path(L"t"), got));
    EXPECT_EQ(got.lastAccess, wanted.lastAccess);
    EXPECT_EQ(got.lastWrite, wanted.lastWrite);
    EXPECT_FALSE(m_fs.GetTimes(Path(L"none"), got));
}

TEST_F(FileSystemTest, ConvertFileKeepsWhatItIsAskedToKeep)
{
#ifdef _WIN32
    const uint32_t marks = qlfs::kAttrReadOnly | qlfs::kAttrHidden | qlfs::kAttrSystem;
#else
    const uint32_t marks = qlfs::kAttrReadOnly;
#endif
    const qlfs::FileTimes old{1100000000, 1200000000};
    Write(L"doc.txt", "one\r\ntwo\rthree\n");
    ASSERT_TRUE(m_fs.SetTimes(Path(L"doc.txt"), old));
    ASSERT_TRUE(m_fs.SetAttributes(Path(L"doc.txt"), marks));
    EXPECT_EQ(ConvertFile(m_fs, Path(L"doc.txt"), 2, false, false, false, false, nullptr, nullptr), -1);

    ASSERT_EQ(ConvertFile(m_fs, Path(L"doc.txt"), 2, true, true, true, true, nullptr, nullptr), 0);
    EXPECT_EQ(Read(L"doc.txt"), "one\ntwo\nthree\n");
    EXPECT_EQ(m_fs.GetAttributes(Path(L"doc.txt")) & marks, marks);
    EXPECT_EQ(m_fs.GetAttributes(Path(L"doc.txt.bak")) & marks, marks);
    EXPECT_EQ(Read(L"doc.txt.bak"), "one\r\ntwo\rthree\n");
    qlfs::FileTimes now;
    ASSERT_TRUE(m_fs.GetTimes(Path(L"doc.txt"), now));
    // The access time is taken after the original was read, so only the
    // write time is certain to be the old one.
    EXPECT_EQ(now.lastWrite, old.lastWrite);

    // Without keeping attributes, the marks are gone; the old backup stays.
    ASSERT_EQ(ConvertFile(m_fs, Path(L"doc.txt"), 0, false, false, true, true, nullptr, nullptr), 0);
    EXPECT_EQ(Read(L"doc.txt"), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(m_fs.GetAttributes(Path(L"doc.txt")) & marks, 0u);
    EXPECT_EQ(Listing(), (std::vector<std::wstring>{L"doc.txt", L"doc.txt (2).bak", L"doc.txt.bak"}));
}

// The flat entry point the programs' callers use: each flag reaches the option it names.
TEST_F(FileSystemTest, TheFlatEntryPointPassesEachOption)
{
    const qlfs::FileTimes old{1100000000, 1200000000};
    const std::wstring path = Path(L"api.txt");
    Write(L"api.txt", "a\r\n");
    ASSERT_TRUE(m_fs.SetTimes(path, old));
    ASSERT_TRUE(m_fs.SetAttributes(path, qlfs::kAttrReadOnly));
    EXPECT_EQ(ConvertFile(nullptr, 2, 0, 0, 1, 0, nullptr), -1);
    EXPECT_EQ(ConvertFile(path.c_str(), 2, 0, 0, 0, 0, nullptr), -1) << "read-only files need the flag";
    EXPECT_EQ(Read(L"api.txt"), "a\r\n");

    // Times and attributes kept, no backup.
    ASSERT_EQ(ConvertFile(path.c_str(), 2, 1, 1, 1, 0, nullptr), 0);
    EXPECT_EQ(Read(L"api.txt"), "a\n");
    EXPECT_TRUE(m_fs.GetAttributes(path) & qlfs::kAttrReadOnly);
    qlfs::FileTimes now;
    ASSERT_TRUE(m_fs.GetTimes(path, now));
    EXPECT_EQ(now.lastWrite, old.lastWrite);
    EXPECT_EQ(Listing(), std::vector<std::wstring>{L"api.txt"});

    // Times kept without the attributes, and a backup.
    ASSERT_EQ(ConvertFile(path.c_str(), 0, 1, 0, 1, 1, nullptr), 0);
    EXPECT_EQ(Read(L"api.txt"), "a\r\n");
    EXPECT_FALSE(m_fs.GetAttributes(path) & qlfs::kAttrReadOnly);
    ASSERT_TRUE(m_fs.GetTimes(path, now));
    EXPECT_EQ(now.lastWrite, old.lastWrite);
    EXPECT_EQ(Read(L"api.txt.bak"), "a\n");
}

#ifndef _WIN32
TEST(PosixPath, UndecodableNamesSurviveTheRoundTrip)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_TRUE(std::setlocale(LC_ALL, "C.UTF-8"));
    EXPECT_EQ(qlfs::FromNativePath("caf\xC3\xA9"), L"caf\u00E9");
    EXPECT_EQ(qlfs::ToNativePath(L"caf\u00E9"), "caf\xC3\xA9");
    const std::string broken = "bad\xFF\xC3(\xED\xA0\x80.txt";  // stray bytes and an encoded surrogate
    std::wstring wide = qlfs::FromNativePath(broken);
    EXPECT_EQ(wide.substr(0, 5), std::wstring(L"bad") + wchar_t(0xDCFF) + wchar_t(0xDCC3));
    EXPECT_EQ(qlfs::ToNativePath(wide), broken);

    // Such a file can be listed, named and converted.
    auto dir = std::filesystem::temp_directory_path() / ("ql-path-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string native = dir.string() + "/" + broken;
    int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "a\r\n", 3), 3);
    ::close(fd);
    qlfs::IFileSystem& fs = qlfs::PlatformFileSystem();
    std::wstring listed;
    fs.EnumerateFolder(qlfs::FromNativePath(dir.string()), [&](const qlfs::FolderEntry& e) { listed = e.name; });
    EXPECT_EQ(listed, wide);
    EXPECT_EQ(ConvertFile(fs, qlfs::FromNativePath(dir.string()) + L"/" + listed, 2, false, false, false, false,
                          nullptr, nullptr),
              0);
    EXPECT_EQ(std::filesystem::file_size(native), 2u);
    std::filesystem::remove_all(dir);
    std::setlocale(LC_ALL, previous.c_str());
}
#endif

}  // namespace
