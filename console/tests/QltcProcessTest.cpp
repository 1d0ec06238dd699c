#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "QltcProcess.h"

namespace fs = std::filesystem;

namespace {

const std::string kBanner =
    "\nQuillet 2.1.0. Copyright (C) 2026 Varnel Software, https://www.varnel.example.\n";

const std::string kUsage =
    "\nUsage:\nQLTC -format <format> [-filter <filter>] [<options>...] [<files/folders>...]\n"
    "\n<format>\n"
    "  crlf: Convert to CRLF format, for Windows/DOS.\n"
    "  cr:   Convert to CR format, for iOS/macOS/watchOS.\n"
    "  lf:   Convert to LF format, for Android/Linux/Unix.\n"
    "\n<filter>\n"
    "  File filter string, example: \"*.h;*.cpp\" .\n"
    "\n<options>\n"
    "  -ss:  Scan subfolders.\n"
    "  -kt:  Keep original file timestamps.\n"
    "  -ka:  Keep original file attributes.\n"
    "  -cr:  Force conversion of read-only files.\n"
    "  -bo:  Backup original files, save as <original name>.bak.\n"
    "\n";

std::string Line(int number, const std::string& name, const std::string& status)
{
    std::string head = std::string(number < 10 ? "   " : "  ") + std::to_string(number) + ". " +
                       name + " ... ";
    return head + "converting  \r" + head + status + std::string(12 - status.size(), ' ') + "\n";
}

bool IsWritable(const fs::path& path)
{
    return (fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none;
}

}  // namespace

TEST(QltcProcess, UsageAndRunsWithoutFormat)
{
    CScratchFolder folder;
    folder.Write("keep.txt", "a\r\nb");

    const QltcRun usage = RunQltcProcess({}, folder.Path());
    EXPECT_EQ(kBanner + kUsage, usage.output);
    EXPECT_EQ(0, usage.exitCode);

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"/?"}, {"keep.txt"}, {"-FORMAT", "crlf", "keep.txt"},
          {"-format", "txt", "keep.txt"}, {"keep.txt", "-format"}}) {
        const QltcRun run = RunQltcProcess(args, folder.Path());
        EXPECT_EQ(kBanner, run.output);
        EXPECT_EQ(3, run.exitCode);
    }
    EXPECT_EQ("a\r\nb", folder.Read("keep.txt"));

    const QltcRun nothing = RunQltcProcess({"-format", "lf", "*.txt", "missing"}, folder.Path());
    EXPECT_EQ(kBanner + "\nStart finding matched files...\n\n\nFinished: No files matched.\n",
              nothing.output);
    EXPECT_EQ(0, nothing.exitCode);
}

TEST(QltcProcess, ConvertsNamedFilesAndFolders)
{
    CScratchFolder folder;
    folder.Write("x.txt", "a\r\nb\rc\nd\n\r");
    folder.Write("y.txt", "one\r\r\ntwo\r");
    folder.Write("tree/sub/deep.txt", "p\r\nq");
    folder.Write("tree/sub/skip.dat", "p\r\nq");

    const QltcRun run = RunQltcProcess(
        {"-format", "CR", "-bo", "x.txt", "missing.txt", "y.txt", "-filter", " *.TXT ", "-ss", "tree"},
        folder.Path());
    const std::string deep = "   3. deep.txt\n";
    EXPECT_EQ(kBanner + "\nStart finding matched files...\n\n   1. x.txt\n   2. y.txt\n" + deep +
                  "\nFinished: 3 files matched.\n\nStart converting...\n\n" + Line(1, "x.txt", "OK") +
                  Line(2, "y.txt", "OK") + Line(3, "deep.txt", "OK") +
                  "\nFinished: 3 converted, 0 failed.\n",
              run.output);
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ("a\rb\rc\rd\r\r", folder.Read("x.txt"));
    EXPECT_EQ("one\r\rtwo\r", folder.Read("y.txt"));
    EXPECT_EQ("p\rq", folder.Read("tree/sub/deep.txt"));
    EXPECT_EQ("p\r\nq", folder.Read("tree/sub/skip.dat"));
    EXPECT_EQ("a\r\nb\rc\nd\n\r", folder.Read("x.txt.bak"));
    EXPECT_EQ("p\r\nq", folder.Read("tree/sub/deep.txt.bak"));
    EXPECT_FALSE(fs::exists(folder.Path() / "tree/sub/skip.dat.bak"));

    // A file named twice is converted twice; the second backup takes the next name.
    const QltcRun twice = RunQltcProcess({"-format", "lf", "-bo", "y.txt", "y.txt"}, folder.Path());
    EXPECT_EQ(0, twice.exitCode);
    EXPECT_EQ("one\n\ntwo\n", folder.Read("y.txt"));
    EXPECT_EQ("one\r\r\ntwo\r", folder.Read("y.txt.bak"));
    EXPECT_EQ("one\r\rtwo\r", folder.Read("y.txt (2).bak"));
    EXPECT_EQ("one\n\ntwo\n", folder.Read("y.txt (3).bak"));
}

TEST(QltcProcess, ReadOnlyFilesAndTimestamps)
{
    CScratchFolder folder;
    const fs::path locked = folder.Write("locked.txt", "l\r\n");
    const fs::path other = folder.Write("other.txt", "o\n");
    fs::permissions(locked, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

    const QltcRun refused = RunQltcProcess({"-format", "lf", "locked.txt", "other.txt"}, folder.Path());
    EXPECT_EQ(kBanner + "\nStart finding matched files...\n\n   1. locked.txt\n   2. other.txt\n"
                        "\nFinished: 2 files matched.\n\nStart converting...\n\n" +
                  Line(1, "locked.txt", "failed") + Line(2, "other.txt", "OK") +
                  "\nFinished: 1 converted, 1 failed.\n",
              refused.output);
    EXPECT_EQ(2, refused.exitCode);
    EXPECT_EQ("l\r\n", folder.Read("locked.txt"));
    EXPECT_FALSE(IsWritable(locked));

    // Forced: converted, and read-only again only when attributes are kept.
    EXPECT_EQ(0, RunQltcProcess({"-format", "lf", "-cr", "-ka", "locked.txt"}, folder.Path()).exitCode);
    EXPECT_EQ("l\n", folder.Read("locked.txt"));
    EXPECT_FALSE(IsWritable(locked));
    EXPECT_EQ(0, RunQltcProcess({"-format", "cr", "-cr", "locked.txt"}, folder.Path()).exitCode);
    EXPECT_EQ("l\r", folder.Read("locked.txt"));
    EXPECT_TRUE(IsWritable(locked));

    const auto old = fs::last_write_time(other) - std::chrono::hours(24 * 400);
    fs::last_write_time(other, old);
    EXPECT_EQ(0, RunQltcProcess({"-format", "crlf", "-kt", "other.txt"}, folder.Path()).exitCode);
    EXPECT_EQ("o\r\n", folder.Read("other.txt"));
    const auto kept = fs::last_write_time(other);
    EXPECT_LE(std::chrono::abs(kept - old), std::chrono::seconds(1));
    EXPECT_EQ(0, RunQltcProcess({"-format", "lf", "other.txt"}, folder.Path()).exitCode);
    EXPECT_GT(fs::last_write_time(other) - old, std::chrono::hours(24));
}

TEST(QltcProcess, FilesAndScansPastMaxPath)
{
    // About 600 characters below the scratch folder: past MAX_PATH on Windows
    // whichever way the file is named. (Wine takes such paths in any form, so
    // the tree is made the plain way; what reaches the Win32 calls is checked
    // in the core's tests.)
    CScratchFolder folder;
    std::string deep;
    for (int level = 0; deep.size() < 600; ++level)
        deep += "level-" + std::to_string(level) + "-" + std::string(90, 'd') + "/";
    folder.Write(deep + "deep.txt", "a\nb\n");
    folder.Write(deep + "skip.dat", "a\n");

    const QltcRun named = RunQltcProcess({"-format", "crlf", "-bo", "-kt", deep + "deep.txt"}, folder.Path());
    EXPECT_EQ(kBanner + "\nStart finding matched files...\n\n   1. deep.txt\n\nFinished: 1 files matched.\n"
                        "\nStart converting...\n\n" + Line(1, "deep.txt", "OK") +
                  "\nFinished: 1 converted, 0 failed.\n",
              named.output);
    EXPECT_EQ("a\r\nb\r\n", folder.Read(deep + "deep.txt"));
    EXPECT_EQ("a\nb\n", folder.Read(deep + "deep.txt.bak"));

    const QltcRun scan = RunQltcProcess({"-format", "cr", "-filter", "*.txt", "-ss", "."}, folder.Path());
    EXPECT_EQ(kBanner + "\nStart finding matched files...\n\n   1. deep.txt\n\nFinished: 1 files matched.\n"
                        "\nStart converting...\n\n" + Line(1, "deep.txt", "OK") +
                  "\nFinished: 1 converted, 0 failed.\n",
              scan.output);
    EXPECT_EQ(0, scan.exitCode);
    EXPECT_EQ("a\rb\r", folder.Read(deep + "deep.txt"));
    EXPECT_EQ("a\n", folder.Read(deep + "skip.dat"));
}
