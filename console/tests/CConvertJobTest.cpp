#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CConvertJob.h"
#include "CFakeFileSystem.h"
#include "ConsoleText.h"
#include "PathFileName.h"
#include "QltcProgram.h"

namespace {

class CCapturedOutput final : public IConsoleOutput {
public:
    void Write(std::wstring_view text) override { writes.emplace_back(text); }
    std::wstring Text() const
    {
        std::wstring all;
        for (const std::wstring& w : writes)
            all += w;
        return all;
    }
    std::vector<std::wstring> writes;
};

// "/top/a.txt" with the platform's separator.
std::wstring P(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'/')
            c = qlfs::kPathSeparator;
    return path;
}

const std::wstring kBanner =
    L"\nQuillet 2.1.0. Copyright (C) 2026 Varnel Software, https://www.varnel.example.\n";

struct Parsed {
    CCapturedOutput out;
    CFakeFileSystem fs;
    CConvertJob job{out, fs};
    explicit Parsed(const std::vector<std::wstring>& args) { job.ParseCommandLine(args); }
};

}  // namespace

TEST(CConvertJob, ParsesOptionsValuesAndPaths)
{
    Parsed all({L"-format", L"CRLF", L"/ss", L"-kt", L"-ka", L"-cr", L"-bo", L"-filter",
                L"  *.h;*.cpp \t", L"x.txt", L"-ss", L"folder"});
    EXPECT_EQ(LEF_CRLF, all.job.Format());
    EXPECT_EQ(L"*.h;*.cpp", all.job.Filter());
    EXPECT_TRUE(all.job.ScanSubfolders() && all.job.KeepTimestamps() && all.job.KeepAttributes() &&
                all.job.ConvertReadOnly() && all.job.BackupOriginal());
    EXPECT_EQ((std::vector<std::wstring>{L"x.txt", L"folder"}), all.job.Paths());

    // Option names are case-sensitive: "FORMAT" is unknown and "crlf" is a path.
    Parsed upper({L"-FORMAT", L"crlf"});
    EXPECT_EQ(LEF_NONE, upper.job.Format());
    EXPECT_EQ((std::vector<std::wstring>{L"crlf"}), upper.job.Paths());

    // A value is consumed whatever it looks like; an unknown word sets nothing.
    Parsed word({L"-format", L"txt", L"readme.txt"});
    EXPECT_EQ(LEF_NONE, word.job.Format());
    EXPECT_EQ((std::vector<std::wstring>{L"readme.txt"}), word.job.Paths());
    Parsed filterTakesSwitch({L"-filter", L"-ss"});
    EXPECT_EQ(L"-ss", filterTakesSwitch.job.Filter());
    EXPECT_FALSE(filterTakesSwitch.job.ScanSubfolders());

    // Later values win, unless they are not formats; a dangling option is ignored.
    Parsed later({L"-format", L"lf", L"-format", L"bogus", L"-format", L"cr", L"-filter", L"*.a",
                  L"-filter", L"*.b", L"-format"});
    EXPECT_EQ(LEF_CR, later.job.Format());
    EXPECT_EQ(L"*.b", later.job.Filter());
    EXPECT_TRUE(later.job.Paths().empty());

    Parsed unknown({L"/?", L"-", L"-x", L"*.txt", L"/kt", L"/ss/x"});
    EXPECT_TRUE(unknown.job.KeepTimestamps());
#ifdef _WIN32
    EXPECT_EQ((std::vector<std::wstring>{L"*.txt"}), unknown.job.Paths());
#else
    // Absolute POSIX paths start with "/": only "/" and an option name is an option.
    EXPECT_EQ((std::vector<std::wstring>{L"/?", L"*.txt", L"/ss/x"}), unknown.job.Paths());
    EXPECT_FALSE(unknown.job.ScanSubfolders());
#endif
}

TEST(CConvertJob, CollectsSubfolderFilesWhereTheyAreMet)
{
    CCapturedOutput out;
    CFakeFileSystem fs;
    fs.AddFile(P(L"/top/a.txt"));
    fs.AddFile(P(L"/top/sub.txt/x.TXT"));  // folder names are never filtered
    fs.AddFile(P(L"/top/sub.txt/deeper/y.txt"));
    fs.AddFile(P(L"/top/b.txt"));
    fs.AddFile(P(L"/top/c.bak"));
    fs.AddFile(P(L"/direct.bak"));

    CConvertJob deep(out, fs);
    deep.ParseCommandLine({L"-format", L"lf", L"-filter", L"*.txt", L"-ss", P(L"/top"),
                           L"missing", P(L"/direct.bak"), P(L"/top/a.txt")});
    deep.FindMatchedFiles();
    EXPECT_EQ((std::vector<std::wstring>{P(L"/top/a.txt"), P(L"/top/sub.txt/x.TXT"),
                                         P(L"/top/sub.txt/deeper/y.txt"), P(L"/top/b.txt"),
                                         P(L"/direct.bak"), P(L"/top/a.txt")}),
              deep.MatchedFiles());
    EXPECT_EQ(L"\nStart finding matched files...\n\n"
              L"   1. a.txt\n   2. x.TXT\n   3. y.txt\n   4. b.txt\n   5. direct.bak\n   6. a.txt\n"
              L"\nFinished: 6 files matched.\n",
              out.Text());

    CConvertJob flat(out, fs);
    flat.ParseCommandLine({L"-format", L"lf", L"-filter", L"*.txt", P(L"/top")});
    flat.FindMatchedFiles();
    EXPECT_EQ((std::vector<std::wstring>{P(L"/top/a.txt"), P(L"/top/b.txt")}), flat.MatchedFiles());

    // Without a filter a folder contributes nothing; relative folders become absolute.
    out.writes.clear();
    fs.AddFile(P(L"/cwd/rel/r.txt"));
    CConvertJob noFilter(out, fs);
    noFilter.ParseCommandLine({L"-format", L"lf", P(L"/top"), L"rel"});
    EXPECT_EQ(QLTC_EXIT_OK, noFilter.Run());
    EXPECT_EQ(L"\nStart finding matched files...\n\n\nFinished: No files matched.\n", out.Text());
    CConvertJob star(out, fs);
    star.ParseCommandLine({L"-format", L"lf", L"-filter", L"*", L"rel"});
    star.FindMatchedFiles();
    EXPECT_EQ((std::vector<std::wstring>{P(L"/cwd/rel/r.txt")}), star.MatchedFiles());
}

TEST(CConvertJob, LinksBackToTheDescentAreNotEnteredAgain)
{
    CCapturedOutput out;
    CFakeFileSystem fs;
    const size_t top = fs.AddFolder(P(L"/top"));
    fs.AddFile(P(L"/top/a.txt"));
    const size_t shared = fs.AddFolder(P(L"/top/one/shared"));
    fs.AddFile(P(L"/top/one/shared/s.txt"));
    fs.AddLink(P(L"/top/one/up"), top);          // back to an ancestor: skipped
    fs.AddLink(P(L"/top/two/again"), shared);    // a sibling's folder: listed again
    fs.AddLink(P(L"/top/two/again/self"), shared);

    CConvertJob job(out, fs);
    job.ParseCommandLine({L"-format", L"lf", L"-filter", L"*.txt", L"-ss", P(L"/top")});
    job.FindMatchedFiles();
    EXPECT_EQ((std::vector<std::wstring>{P(L"/top/a.txt"), P(L"/top/one/shared/s.txt"),
                                         P(L"/top/two/again/s.txt")}),
              job.MatchedFiles());
}

TEST(CConvertJob, ExitStatusAndOutputOfWholeRuns)
{
    CFakeFileSystem fs;
    fs.AddFile(P(L"/f.txt"));

    CCapturedOutput usage;
    EXPECT_EQ(QLTC_EXIT_OK, RunQltc({}, usage, fs));
    ASSERT_EQ(16u, usage.writes.size());  // the banner and fifteen pieces of usage
    EXPECT_EQ(kBanner, usage.writes[0]);
    EXPECT_EQ(L"  -bo:  Backup original files, save as <original name>.bak.\n", usage.writes[14]);

    // Arguments without a usable format: the banner alone, and a status that says so.
    for (const std::vector<std::wstring>& args :
         {std::vector<std::wstring>{L"/?"}, {P(L"/f.txt")}, {L"-format", L"txt", P(L"/f.txt")}}) {
        CCapturedOutput out;
        EXPECT_EQ(QLTC_EXIT_NO_FORMAT, RunQltc(args, out, fs));
        EXPECT_EQ(kBanner, out.Text());
    }

    CCapturedOutput none;
    EXPECT_EQ(QLTC_EXIT_OK, RunQltc({L"-format", L"lf", L"*.txt"}, none, fs));

    // This file system cannot open files, so the conversion fails and is counted.
    CCapturedOutput failing;
    EXPECT_EQ(QLTC_EXIT_SOME_FAILED, RunQltc({L"-format", L"cr", P(L"/f.txt")}, failing, fs));
    EXPECT_EQ(kBanner + L"\nStart finding matched files...\n\n   1. f.txt\n"
                        L"\nFinished: 1 files matched.\n\nStart converting...\n\n"
                        L"   1. f.txt ... converting  \r   1. f.txt ... failed      \n"
                        L"\nFinished: 0 converted, 1 failed.\n",
              failing.Text());
}

TEST(ConsoleText, ColumnsAndFileNames)
{
    EXPECT_EQ(L"   7", FormatNumber(7, 4));
    EXPECT_EQ(L"12345", FormatNumber(12345, 4));
    EXPECT_EQ(L"0", FormatNumber(0, 0));
    EXPECT_EQ(L"OK          ", PadRight(L"OK", 12));
    EXPECT_EQ(L"converting!!!", PadRight(L"converting!!!", 12));

    EXPECT_EQ(L"c.txt", FileNameOfPath(L"/a/b/c.txt", false));
    EXPECT_EQ(L"a\\b.txt", FileNameOfPath(L"a\\b.txt", false));
    EXPECT_EQ(L"b/", FileNameOfPath(L"/a/b/", false));
    EXPECT_EQ(L"plain", FileNameOfPath(L"plain", false));
    EXPECT_EQ(L"c.txt", FileNameOfPath(L"C:\\a/b\\c.txt", true));
    EXPECT_EQ(L"x.txt", FileNameOfPath(L"C:x.txt", true));
    EXPECT_EQ(L"b\\", FileNameOfPath(L"C:\\a\\b\\", true));
}
