// QLTC killed with SIGKILL at random moments while it converts many files of
// mixed sizes, back and forth between CRLF and LF. After every kill each file
// must still be under its own name with one complete version of its content;
// a temporary file may be left over, but never as the only copy.
// QL_CRASH_KILLS sets the number of kills (300 by default).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>
#include <string>
#include <vector>

#include "QltcProcess.h"

namespace fs = std::filesystem;

namespace {

std::string Text(size_t size, std::mt19937& random)
{
    static const char* const kEnds[] = {"\r\n", "\n", "\r"};
    std::string text;
    while (text.size() < size)
        text += std::string(random() % 70, 'a' + char(random() % 26)) + kEnds[random() % 3];
    text.resize(size);
    return text;
}

// What the plain state machine gives: every CR LF, lone CR and lone LF becomes `end`.
std::string WithLineEnds(const std::string& text, const std::string& end)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += end;
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (text[i] == '\n') {
            out += end;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

pid_t StartQltc(const std::string& program, const fs::path& folder, const char* format)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (std::freopen("/dev/null", "w", stdout))
            ::execl(program.c_str(), program.c_str(), "-format", format, "-filter", "*.txt", "-ss",
                    folder.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return child;
}

struct SFile {
    fs::path path;
    std::string original, crlf, lf;
};

}  // namespace

TEST(QltcCrash, EveryFileSurvivesSigkillAtAnyMoment)
{
    const char* setting = std::getenv("QL_CRASH_KILLS");
    const int kills = setting ? std::atoi(setting) : 300;
    CScratchFolder folder;
    std::mt19937 random(20261208);
    std::vector<SFile> files;
    for (int i = 0; i < 40; ++i) {
        // Mostly small files, some above the size that is read through a mapping.
        size_t size = i % 10 == 0 ? (size_t(1) << 20) + random() % (size_t(1) << 20) : random() % 20000;
        SFile file;
        file.path = folder.Write("sub" + std::to_string(i % 3) + "/f" + std::to_string(i) + ".txt", Text(size, random));
        file.original = ReadAll(file.path);
        file.crlf = WithLineEnds(file.original, "\r\n");
        file.lf = WithLineEnds(file.original, "\n");
        files.push_back(std::move(file));
    }
    const std::string program = (fs::read_symlink("/proc/self/exe").parent_path() / "QLTC").string();

    // One whole run sets the range of moments to kill at.
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    ::waitpid(StartQltc(program, folder.Path(), "crlf"), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);

    int killedRunning = 0;
    for (int kill = 0; kill < kills; ++kill) {
        const pid_t child = StartQltc(program, folder.Path(), kill % 2 ? "crlf" : "lf");
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (whole.count() + 1)));
        ::kill(child, SIGKILL);
        ASSERT_EQ(child, ::waitpid(child, &status, 0));
        killedRunning += WIFSIGNALED(status);
        for (const SFile& file : files) {
            const std::string now = ReadAll(file.path);
            ASSERT_TRUE(now == file.original || now == file.crlf || now == file.lf)
                << file.path << " after kill " << kill << ": " << now.size() << " bytes";
        }
    }
    // Most kills must land while the program runs, or the test proves little.
    EXPECT_GT(killedRunning, kills / 2);
}
