#include "CommandLine.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

using namespace qlshell;

namespace {

using Arguments = std::vector<std::wstring>;

std::wstring Quoted(const std::wstring& argument) {
    std::wstring line;
    AppendQuotedArgument(line, argument);
    return line;
}

#ifdef _WIN32
// The system's own splitter, for comparison under Wine.
Arguments SystemSplit(const std::wstring& line) {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
    Arguments result;
    if (argv == nullptr) return result;
    for (int i = 0; i < count; ++i) result.emplace_back(argv[i]);
    LocalFree(argv);
    return result;
}
#endif

}  // namespace

TEST(CommandLineTest, QuotesSoThatBackslashesAndQuotesSurvive) {
    EXPECT_EQ(Quoted(L"C:\\d\\a.txt"), L"\"C:\\d\\a.txt\"");
    EXPECT_EQ(Quoted(L"C:\\"), L"\"C:\\\\\"");
    EXPECT_EQ(Quoted(L"a\"b"), L"\"a\\\"b\"");
    EXPECT_EQ(Quoted(L"a\\\"b"), L"\"a\\\\\\\"b\"");
    EXPECT_EQ(Quoted(L""), L"\"\"");

    // Lines whose splitting the system documents.
    EXPECT_EQ(SplitCommandLine(L"p.exe \"abc\" d e"), (Arguments{L"p.exe", L"abc", L"d", L"e"}));
    EXPECT_EQ(SplitCommandLine(L"p.exe a\\\\\\b d\"e f\"g h"), (Arguments{L"p.exe", L"a\\\\\\b", L"de fg", L"h"}));
    EXPECT_EQ(SplitCommandLine(L"p.exe a\\\\\\\"b c d"), (Arguments{L"p.exe", L"a\\\"b", L"c", L"d"}));
    EXPECT_EQ(SplitCommandLine(L"p.exe a\\\\\\\\\"b c\" d e"), (Arguments{L"p.exe", L"a\\\\b c", L"d", L"e"}));
    EXPECT_EQ(SplitCommandLine(L"\"C:\\Program Files\\p.exe\"  \"\"\t-x "),
              (Arguments{L"C:\\Program Files\\p.exe", L"", L"-x"}));

#ifdef _WIN32
    for (const wchar_t* line : {L"p.exe a\\\\\"b c\" d e", L"\"C:\\P F\\p.exe\"x y", L"p.exe \"a\"\"b\" c",
                                L"p.exe \"a\"\"\"b c", L"p.exe a\"\"b \"\"", L"p.exe \\\\\\\"\" x\t"}) {
        EXPECT_EQ(SplitCommandLine(line), SystemSplit(line)) << line;
    }
#endif

    // Unquoted, a drive root swallows the switches that follow it.
    EXPECT_EQ(SplitCommandLine(L"p.exe \"C:\\\" -ka -cr").size(), 2u);
    EXPECT_EQ(SplitCommandLine(L"p.exe " + Quoted(L"C:\\") + L" -ka -cr"),
              (Arguments{L"p.exe", L"C:\\", L"-ka", L"-cr"}));
}

TEST(CommandLineTest, RandomArgumentsRoundTrip) {
    const std::wstring alphabet = L"ab \t\"\\:.*;-\u00e9";
    std::mt19937 random(20261207);
    for (int round = 0; round < 2000; ++round) {
        Arguments arguments{L"C:\\Program Files\\Quillet\\Quillet.exe"};
        std::wstring line = Quoted(arguments[0]);
        const int count = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < count; ++i) {
            std::wstring argument;
            const size_t length = random() % 10;
            for (size_t c = 0; c < length; ++c) argument += alphabet[random() % alphabet.size()];
            arguments.push_back(argument);
            line += L' ';
            AppendQuotedArgument(line, argument);
        }
        ASSERT_EQ(SplitCommandLine(line), arguments) << line;
#ifdef _WIN32
        ASSERT_EQ(SystemSplit(line), arguments) << line;
#endif
    }
}

TEST(CommandLineTest, ShellCommandLineLengthCountsQuotesBlankAndTerminator) {
    // "C:\Q.exe" + blank + " -ka -cr" + terminator
    EXPECT_EQ(ShellCommandLineLength(L"C:\\Q.exe", L" -ka -cr"), 10u + 1u + 8u + 1u);
}
