// QLTC on POSIX trees that fight back: folder links (also doubled on every
// level), ".." after a link, a FIFO among the files, and a current folder
// that has been deleted.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "QltcProcess.h"

namespace fs = std::filesystem;

namespace {

size_t Count(const std::string& text, const std::string& piece)
{
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

}  // namespace

TEST(QltcPosixTrees, LinkedFoldersAreListedOnce)
{
    CScratchFolder folder;
    const fs::path& root = folder.Path();
    // chain/d0 .. d16, where each level holds two links to the next one: a
    // walk that follows every link would meet the last file 65,536 times.
    constexpr int kLevels = 16;
    auto level = [&](int i) { return root / "chain" / fs::path("d").concat(std::to_string(i)); };
    for (int i = 0; i <= kLevels; ++i)
        fs::create_directories(level(i));
    for (int i = 0; i < kLevels; ++i)
        for (const char* name : {"a", "b"})
            fs::create_directory_symlink(level(i + 1), level(i) / name);
    folder.Write("chain/d16/deep.txt", "x\r\n");
    folder.Write("top/real/in.txt", "y\r\n");
    fs::create_directory_symlink("real", root / "top" / "link");
    fs::create_directory_symlink("..", root / "top" / "real" / "up");

    const QltcRun run = RunQltcProcess({"-format", "lf", "-filter", "*.txt", "-ss", "chain/d0", "top"}, root);
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ(1u, Count(run.output, ". deep.txt\n"));
    EXPECT_EQ(1u, Count(run.output, ". in.txt\n"));
    EXPECT_NE(std::string::npos, run.output.find("Finished: 2 files matched."));
    EXPECT_EQ("x\n", folder.Read("chain/d16/deep.txt"));
    EXPECT_TRUE(fs::is_symlink(root / "top" / "link"));

    // Without -ss a folder link is a folder like any other: not listed.
    const QltcRun flat = RunQltcProcess({"-format", "lf", "-filter", "*", "top"}, root);
    EXPECT_NE(std::string::npos, flat.output.find("No files matched."));
}

// Links named on the command line: one to a folder is scanned like the
// folder; a dangling one is still a name that was given, so it is listed
// and fails, and the run says so in its status.
TEST(QltcPosixTrees, NamedLinksAreScannedOrListedAndFailed)
{
    CScratchFolder folder;
    folder.Write("real/in.txt", "i\r\n");
    fs::create_directory_symlink("real", folder.Path() / "linked");
    fs::create_symlink("gone.txt", folder.Path() / "dangling.txt");
    const QltcRun run = RunQltcProcess({"-format", "lf", "-filter", "*.txt", "dangling.txt", "linked"}, folder.Path());
    EXPECT_EQ(2, run.exitCode) << run.output;
    EXPECT_NE(std::string::npos, run.output.find("\n   1. dangling.txt\n   2. in.txt\n\nFinished: 2 files matched.\n"))
        << run.output;
    EXPECT_NE(std::string::npos, run.output.find("\r   1. dangling.txt ... failed      \n")) << run.output;
    EXPECT_NE(std::string::npos, run.output.find("\r   2. in.txt ... OK          \n")) << run.output;
    EXPECT_NE(std::string::npos, run.output.find("Finished: 1 converted, 1 failed.")) << run.output;
    EXPECT_EQ("i\n", folder.Read("real/in.txt"));
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "dangling.txt"));
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "linked"));
    EXPECT_FALSE(fs::exists(folder.Path() / "gone.txt"));
}

TEST(QltcPosixTrees, DotDotAfterALinkIsTheTargetsParent)
{
    CScratchFolder folder;
    folder.Write("here.txt", "h\r\n");
    folder.Write("far/parent.txt", "p\r\n");
    fs::create_directories(folder.Path() / "far" / "inner");
    fs::create_directory_symlink("far/inner", folder.Path() / "lnk");
    const QltcRun run = RunQltcProcess({"-format", "lf", "-filter", "*.txt", "lnk/.."}, folder.Path());
    EXPECT_NE(std::string::npos, run.output.find("   1. parent.txt\n")) << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("here.txt"));
    EXPECT_EQ("p\n", folder.Read("far/parent.txt"));
    EXPECT_EQ("h\r\n", folder.Read("here.txt"));
}

TEST(QltcPosixTrees, AFifoFailsWithoutBlockingTheRun)
{
    CScratchFolder folder;
    folder.Write("a.txt", "a\r\n");
    ASSERT_EQ(0, ::mkfifo((folder.Path() / "pipe.txt").c_str(), 0644));
    const QltcRun run = RunQltcProcess({"-format", "lf", "-filter", "*.txt", "."}, folder.Path());
    EXPECT_EQ(2, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find("pipe.txt ... failed"));
    EXPECT_NE(std::string::npos, run.output.find("a.txt ... OK"));
    EXPECT_TRUE(fs::is_fifo(folder.Path() / "pipe.txt"));
    EXPECT_EQ("a\n", folder.Read("a.txt"));
}

// Runs QLTC with `args` after `prepare` has run in the child; the output and
// the exit status (-1 when it did not exit).
std::pair<std::string, int> RunPrepared(const std::function<bool()>& prepare, const std::vector<const char*>& args)
{
    const std::string program = (fs::read_symlink("/proc/self/exe").parent_path() / "QLTC").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const char* arg : args)
        argv.push_back(const_cast<char*>(arg));
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {"", -1};
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        if (prepare())
            ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, size_t(got));
    ::close(pipeEnds[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return {output, -1};
    return {output, WEXITSTATUS(status)};
}

// With the current folder deleted, "." and relative names stand for nothing;
// they must never become "/".
TEST(QltcPosixTrees, ADeletedCurrentFolderAnchorsNothing)
{
    CScratchFolder folder;
    const fs::path gone = folder.Path() / "gone";
    fs::create_directory(gone);
    auto [output, status] = RunPrepared([&] { return ::chdir(gone.c_str()) == 0 && ::rmdir(gone.c_str()) == 0; },
                                        {"-format", "lf", "-filter", "*", "-ss", ".", "x.txt"});
    EXPECT_EQ(0, status);
    EXPECT_NE(std::string::npos, output.find("No files matched.")) << output;
}

// A tree deeper than the soft limit on open files is still scanned whole.
TEST(QltcPosixTrees, DeepTreesAreNotCutByTheOpenFileLimit)
{
    CScratchFolder folder;
    fs::path deepFolder = "t";
    for (int i = 0; i < 150; ++i)
        deepFolder /= "d";
    const std::string deep = deepFolder.string();
    folder.Write(deep + "/bottom.txt", "b\r\n");
    const fs::path root = folder.Path() / "t";
    auto [output, status] = RunPrepared(
        [] {
            struct rlimit limit {};
            ::getrlimit(RLIMIT_NOFILE, &limit);
            if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < 400)
                return false;
            limit.rlim_cur = 64;
            return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
        },
        {"-format", "lf", "-filter", "*.txt", "-ss", root.c_str()});
    EXPECT_EQ(0, status) << output;
    EXPECT_NE(std::string::npos, output.find("   1. bottom.txt\n")) << output;
    EXPECT_EQ("b\n", folder.Read(deep + "/bottom.txt"));
}
