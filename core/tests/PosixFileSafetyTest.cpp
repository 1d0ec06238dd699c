// ConvertFile on real POSIX files where the file system pushes back: writes
// cut short by a file-size limit, close errors, the umask, links where the
// temporary name should go, files that are not regular files, symbolic links
// to files, owners and set-user-ID bits, and two runs on one file at once.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

#include "ConvertFile.h"
#include "ReferenceConverter.h"
#include "fs/IFileSystem.h"
#include "fs/PosixPath.h"

namespace {

namespace stdfs = std::filesystem;

class PosixFileSafety : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = stdfs::temp_directory_path() / ("ql-safety-" + std::to_string(::getpid()) + "-" +
                                                testing::UnitTest::GetInstance()->current_test_info()->name());
        stdfs::remove_all(m_dir);
        stdfs::create_directories(m_dir);
    }
    void TearDown() override { stdfs::remove_all(m_dir); }

    stdfs::path Write(const std::string& name, const std::string& content) const
    {
        stdfs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary).write(content.data(), std::streamsize(content.size()));
        return path;
    }
    static std::string Read(const stdfs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto& entry : stdfs::directory_iterator(m_dir))
            names.insert(entry.path().filename().string());
        return names;
    }
    static int Convert(const stdfs::path& path, int format, bool keepAttributes = false, bool backup = false)
    {
        return ConvertFile(qlfs::PlatformFileSystem(), qlfs::FromNativePath(path.string()), format, false,
                           keepAttributes, false, backup, nullptr, nullptr);
    }

    stdfs::path m_dir;
};

// Runs `body` in a child process and returns its exit status (-1 if it died).
int InChild(const std::function<int()>& body)
{
    pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::string Lines(size_t size)
{
    std::string text;
    while (text.size() < size)
        text += "a line of text\n";
    text.resize(size);
    return text;
}

std::string Converted(const std::string& text, int format)
{
    std::vector<uint8_t> in(text.begin(), text.end());
    std::vector<uint8_t> out = ReferenceConvert(in, format, nullptr);
    return std::string(out.begin(), out.end());
}

// A file-size limit makes write() stop short, then fail. Whether that hits the
// first block (a small, buffered file) or the last one (a large, mapped file
// written on the background thread), the original must stay as it was.
TEST_F(PosixFileSafety, WritesCutShortByTheFileSizeLimitLeaveTheOriginal)
{
    struct SCase {
        size_t size;
        size_t limit;
    };
    const size_t large = 3345728;
    for (SCase c : {SCase{10240, 4096}, SCase{large, large + large / 15 - 100000}}) {
        SCOPED_TRACE(c.size);
        const std::string original = Lines(c.size);
        stdfs::path file = Write("x.txt", original);
        int status = InChild([&] {
            ::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit {rlim_t(c.limit), rlim_t(c.limit)};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 2;
            return Convert(file, 0) == -1 ? 0 : 1;
        });
        EXPECT_EQ(0, status) << "the cut-off conversion must be reported as failed";
        EXPECT_TRUE(Read(file) == original);
        EXPECT_EQ(Names(), std::set<std::string>{"x.txt"});
        // The same file converts once the limit is gone.
        EXPECT_EQ(0, Convert(file, 0));
        EXPECT_TRUE(Read(file) == Converted(original, 0));
    }
}

TEST_F(PosixFileSafety, ACloseErrorIsReported)
{
    // The descriptor is closed behind the file object's back, so its own
    // close(2) fails with EBADF: that result must come through.
    bool taken = false;
    auto file = qlfs::PlatformFileSystem().CreateNew(qlfs::FromNativePath((m_dir / "c").string()), taken);
    ASSERT_TRUE(file);
    int fd = -1;
    for (const auto& entry : stdfs::directory_iterator("/proc/self/fd")) {
        int n = std::stoi(entry.path().filename().string());
        std::error_code error;
        if (stdfs::read_symlink(entry.path(), error) == m_dir / "c")
            fd = n;
    }
    ASSERT_GE(fd, 0);
    ASSERT_EQ(0, ::close(fd));
    EXPECT_FALSE(file->Close());
}

// The original stays open until it has been replaced. No descriptor may
// outlive a conversion, whether it succeeds or fails, or a long run would run
// out of them and hold on to the space of every file it replaced.
TEST_F(PosixFileSafety, NoDescriptorOutlivesAConversion)
{
    auto openDescriptors = [] {
        stdfs::directory_iterator entries("/proc/self/fd");
        return std::distance(begin(entries), end(entries));
    };
    stdfs::path file = Write("d.txt", "a\r\nb\n");
    const auto before = openDescriptors();
    EXPECT_EQ(0, Convert(file, 0));
    EXPECT_EQ(0, Convert(file, 2, false, true));
    EXPECT_EQ(-1, Convert(file, 7));  // no such format: fails once both files are open
    EXPECT_EQ(before, openDescriptors());
    EXPECT_EQ(Converted(Converted("a\r\nb\n", 0), 2), Read(file));
    EXPECT_EQ(Names(), (std::set<std::string>{"d.txt", "d.txt.bak"}));
}

// A device that cannot force data to the disk reports it through fdatasync;
// a pipe put in place of the file's descriptor does just that (EINVAL).
TEST_F(PosixFileSafety, AFlushErrorIsReported)
{
    bool taken = false;
    auto file = qlfs::PlatformFileSystem().CreateNew(qlfs::FromNativePath((m_dir / "f").string()), taken);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->Write("data\n", 5));
    EXPECT_TRUE(file->Flush());
    int fd = -1;
    for (const auto& entry : stdfs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (stdfs::read_symlink(entry.path(), error) == m_dir / "f")
            fd = std::stoi(entry.path().filename().string());
    }
    ASSERT_GE(fd, 0);
    int pipeEnds[2];
    ASSERT_EQ(0, ::pipe(pipeEnds));
    ASSERT_EQ(fd, ::dup2(pipeEnds[1], fd));
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    EXPECT_FALSE(file->Flush());
}

TEST_F(PosixFileSafety, ModesFollowTheUmaskOrTheOriginal)
{
    stdfs::path file = Write("m.txt", "a\r\n");
    ::chmod(file.c_str(), 04751);
    mode_t old = ::umask(027);
    EXPECT_EQ(0, Convert(file, 2));
    struct stat info {};
    ::stat(file.c_str(), &info);
    EXPECT_EQ(0640u, info.st_mode & 07777) << "a new file: 0666 narrowed by the umask";
    ::umask(022);
    EXPECT_EQ(0, Convert(file, 0));
    ::stat(file.c_str(), &info);
    EXPECT_EQ(0644u, info.st_mode & 07777);
    ::chmod(file.c_str(), 04751);
    EXPECT_EQ(0, Convert(file, 2, true));
    ::stat(file.c_str(), &info);
    EXPECT_EQ(04751u, info.st_mode & 07777) << "kept, set-user-ID included, as the owner stayed";
    ::umask(old);
}

TEST_F(PosixFileSafety, TakenTemporaryNamesAreSkippedNeverFollowed)
{
    stdfs::path file = Write("x.txt", "a\n");
    stdfs::create_symlink(m_dir / "nowhere", m_dir / "x.txt.tmp");
    stdfs::create_symlink(m_dir / "victim", m_dir / "x.txt (2).tmp");
    Write("victim", "not to be touched");
    EXPECT_EQ(0, Convert(file, 0));
    EXPECT_EQ("a\r\n", Read(file));
    EXPECT_TRUE(stdfs::is_symlink(m_dir / "x.txt.tmp"));
    EXPECT_FALSE(stdfs::exists(m_dir / "nowhere"));
    EXPECT_EQ("not to be touched", Read(m_dir / "victim"));
    EXPECT_EQ(Names(), (std::set<std::string>{"victim", "x.txt", "x.txt (2).tmp", "x.txt.tmp"}));
}

// FIFOs, sockets and devices are never opened in a way that blocks, never
// replaced, and reported as failures.
TEST_F(PosixFileSafety, OnlyRegularFilesAreConverted)
{
    stdfs::path fifo = m_dir / "pipe.txt";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0644));
    EXPECT_EQ(-1, Convert(fifo, 2));
    EXPECT_TRUE(stdfs::is_fifo(fifo));
    stdfs::path device = m_dir / "null.txt";
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        EXPECT_EQ(-1, Convert(device, 2));
        EXPECT_TRUE(stdfs::is_character_file(device));
    }
    EXPECT_EQ(-1, Convert(m_dir, 2));
    std::set<std::string> expected{"pipe.txt"};
    if (stdfs::exists(device))
        expected.insert("null.txt");
    EXPECT_EQ(Names(), expected);
}

// A link is followed to its file, which is converted beside itself; the link
// stays a link. A dangling link fails.
TEST_F(PosixFileSafety, LinksToFilesConvertTheirTargets)
{
    stdfs::create_directory(m_dir / "real");
    stdfs::path target = m_dir / "real" / "t.txt";
    std::ofstream(target, std::ios::binary) << "a\r\nb\r\n";
    stdfs::create_symlink("real/t.txt", m_dir / "first");
    stdfs::create_symlink("first", m_dir / "second");
    EXPECT_EQ(0, Convert(m_dir / "second", 2, false, true));
    EXPECT_EQ("a\nb\n", Read(target));
    EXPECT_EQ("a\r\nb\r\n", Read(m_dir / "real" / "t.txt.bak"));
    EXPECT_TRUE(stdfs::is_symlink(m_dir / "first"));
    EXPECT_TRUE(stdfs::is_symlink(m_dir / "second"));
    EXPECT_EQ(Names(), (std::set<std::string>{"first", "real", "second"}));

    stdfs::create_symlink("gone", m_dir / "dangling");
    EXPECT_EQ(-1, Convert(m_dir / "dangling", 2));
    EXPECT_TRUE(stdfs::is_symlink(m_dir / "dangling"));
    EXPECT_FALSE(stdfs::exists(m_dir / "gone"));
}

// The backup is the original file itself under a second name: same inode,
// so a replace never leaves the name empty.
TEST_F(PosixFileSafety, TheBackupIsTheOriginalFile)
{
    stdfs::path file = Write("b.txt", "x\n");
    struct stat before {}, backup {}, after {};
    ::stat(file.c_str(), &before);
    EXPECT_EQ(0, Convert(file, 0, false, true));
    ::stat((m_dir / "b.txt.bak").c_str(), &backup);
    ::stat(file.c_str(), &after);
    EXPECT_EQ(before.st_ino, backup.st_ino);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ("x\r\n", Read(file));
}

// Root keeps the owner; a user who cannot give the file back to its owner
// gets it as their own, and then without set-user-ID and set-group-ID.
TEST_F(PosixFileSafety, OwnersAreKeptOrSetIdBitsDropped)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to create files of other users";
    ::chmod(m_dir.c_str(), 0777);
    stdfs::path mine = Write("owned.txt", "a\r\n");
    ASSERT_EQ(0, ::chown(mine.c_str(), 1234, 1234));
    ::chmod(mine.c_str(), 06755);
    EXPECT_EQ(0, Convert(mine, 2, true));
    struct stat info {};
    ::stat(mine.c_str(), &info);
    EXPECT_EQ(1234u, info.st_uid);
    EXPECT_EQ(1234u, info.st_gid);
    EXPECT_EQ(06755u, info.st_mode & 07777);

    ASSERT_EQ(0, ::chmod(mine.c_str(), 06777));
    int status = InChild([&] {
        if (::setgid(4321) != 0 || ::setuid(4321) != 0)
            return 2;
        return Convert(mine, 0, true) == 0 ? 0 : 1;
    });
    ASSERT_EQ(0, status);
    ::stat(mine.c_str(), &info);
    EXPECT_EQ(4321u, info.st_uid);
    EXPECT_EQ(0777u, info.st_mode & 07777) << "set-ID bits must not survive a change of owner";
    EXPECT_EQ("a\r\n", Read(mine));
}

// Kept times are the original's own, both of them: the access time from
// before this run read the file.
TEST_F(PosixFileSafety, KeptTimesAreTheOriginalsBothOfThem)
{
    stdfs::path file = Write("t.txt", "a\r\n");
    const struct timespec old[2] = {{1000000000, 0}, {1100000000, 0}};
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, file.c_str(), old, 0));
    ASSERT_EQ(0, ConvertFile(qlfs::PlatformFileSystem(), qlfs::FromNativePath(file.string()), 2, true, false,
                             false, false, nullptr, nullptr));
    struct stat info {};
    ::stat(file.c_str(), &info);
    EXPECT_EQ(1000000000, info.st_atim.tv_sec);
    EXPECT_EQ(1100000000, info.st_mtim.tv_sec);
    EXPECT_EQ("a\n", Read(file));
}

// Only the group differs from the converter's own. Root gives the file its
// group back; a user who may not do so gets the file in their own group,
// and then without set-group-ID, which would now name the wrong group.
TEST_F(PosixFileSafety, AChangedGroupAloneKeepsOrDropsSetGroupId)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to create files of other groups";
    ::chmod(m_dir.c_str(), 0777);
    stdfs::path rootFile = Write("root.txt", "a\r\n");
    ASSERT_EQ(0, ::chown(rootFile.c_str(), 0, 1234));
    ::chmod(rootFile.c_str(), 02755);
    EXPECT_EQ(0, Convert(rootFile, 2, true));
    struct stat info {};
    ::stat(rootFile.c_str(), &info);
    EXPECT_EQ(0u, info.st_uid);
    EXPECT_EQ(1234u, info.st_gid);
    EXPECT_EQ(02755u, info.st_mode & 07777);

    stdfs::path userFile = Write("user.txt", "b\r\n");
    ASSERT_EQ(0, ::chown(userFile.c_str(), 4321, 1234));
    ::chmod(userFile.c_str(), 02775);
    int status = InChild([&] {
        // Of group 4321 alone, so the file cannot be given back to 1234.
        if (::setgroups(0, nullptr) != 0 || ::setgid(4321) != 0 || ::setuid(4321) != 0)
            return 2;
        return Convert(userFile, 2, true) == 0 ? 0 : 1;
    });
    ASSERT_EQ(0, status);
    ::stat(userFile.c_str(), &info);
    EXPECT_EQ(4321u, info.st_uid);
    EXPECT_EQ(4321u, info.st_gid);
    EXPECT_EQ(0775u, info.st_mode & 07777) << "set-group-ID must not survive a change of group";
    EXPECT_EQ("b\n", Read(userFile));
}

// Where no hard link can be made (here the kernel refuses to link another
// user's file), the backup is the original renamed: it takes the first free
// name, and an earlier backup stays as it was.
TEST_F(PosixFileSafety, WithoutHardLinksTheBackupTakesTheNextFreeName)
{
    std::ifstream setting("/proc/sys/fs/protected_hardlinks");
    int protectedLinks = 0;
    if (::geteuid() != 0 || !(setting >> protectedLinks) || protectedLinks != 1)
        GTEST_SKIP() << "needs root and fs.protected_hardlinks = 1";
    ::chmod(m_dir.c_str(), 0777);
    stdfs::path file = Write("x.txt", "new\r\n");
    Write("x.txt.bak", "earlier backup");
    ASSERT_EQ(0, ::chown(file.c_str(), 1234, 1234));
    ::chmod(file.c_str(), 0644);
    int status = InChild([&] {
        ::alarm(20);  // a walk over names that never ends fails the test instead
        if (::setgroups(0, nullptr) != 0 || ::setgid(4321) != 0 || ::setuid(4321) != 0)
            return 2;
        if (::link(file.c_str(), (m_dir / "probe").c_str()) == 0 || errno != EPERM)
            return 3;
        return Convert(file, 2, false, true) == 0 ? 0 : 1;
    });
    ASSERT_NE(3, status) << "the kernel made the hard link after all";
    ASSERT_EQ(0, status);
    EXPECT_EQ("new\n", Read(file));
    EXPECT_EQ("earlier backup", Read(m_dir / "x.txt.bak"));
    EXPECT_EQ("new\r\n", Read(m_dir / "x.txt (2).bak"));
    EXPECT_EQ(Names(), (std::set<std::string>{"x.txt", "x.txt (2).bak", "x.txt.bak"}));
}

// Two processes convert one large file back and forth at the same time. The
// file is never lost: its name always holds one complete version.
TEST_F(PosixFileSafety, TwoRunsOnOneFileNeverLoseIt)
{
    const std::string original = Lines(size_t(2) << 20) + "\r\r\n";
    const std::set<std::string> versions{original, Converted(original, 0), Converted(original, 2)};
    stdfs::path file = Write("shared.txt", original);
    auto runner = [&](int format) {
        return [&, format] {
            int failures = 0;
            for (int i = 0; i < 15; ++i)
                failures += Convert(file, i % 2 ? format : 2 - format) != 0;
            return failures == 15 ? 1 : 0;
        };
    };
    pid_t first = ::fork();
    if (first == 0)
        ::_exit(runner(0)());
    int second = InChild(runner(2));
    int status = 0;
    ::waitpid(first, &status, 0);
    EXPECT_EQ(0, second);
    EXPECT_TRUE(versions.count(Read(file)));
    EXPECT_EQ(Names(), std::set<std::string>{"shared.txt"});
}

}  // namespace
#endif
