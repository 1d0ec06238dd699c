#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "CConvertJob.h"
#include "ConsoleText.h"
#include "FaultyFileSystemSupport.h"
#include "PathFileName.h"
#include "QltcProgram.h"

namespace {

using Strings = std::vector<std::wstring>;

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
    Strings writes;
};

// "/top/a.txt" with the platform's separator.
std::wstring P(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'/')
            c = qlfs::kPathSeparator;
    return path;
}

// Folders with fixed listing orders and identities (two names with one identity
// stand for a link); files cannot be opened, so every conversion fails.
class CListedFolders final : public qlfs::IFileSystem {
public:
    void Folder(const std::wstring& path, uint64_t id, Strings entries)
    {
        m_folders[P(path)] = {id, std::move(entries)};
    }
    void File(const std::wstring& path) { m_files.push_back(P(path)); }

    uint32_t GetAttributes(const std::wstring&) override { return 0; }
    bool SetAttributes(const std::wstring&, uint32_t) override { return false; }
    bool Exists(const std::wstring& p) override
    {
        return IsFolder(p) || std::find(m_files.begin(), m_files.end(), FullPath(p)) != m_files.end();
    }
    bool IsFolder(const std::wstring& p) override { return m_folders.count(FullPath(p)) != 0; }
    std::unique_ptr<qlfs::IReadFile> OpenRead(const std::wstring&) override { return nullptr; }
    std::unique_ptr<qlfs::IWriteFile> CreateNew(const std::wstring&, bool& taken) override
    {
        taken = false;
        return nullptr;
    }
    bool GetTimes(const std::wstring&, qlfs::FileTimes&) override { return false; }
    bool SetTimes(const std::wstring&, const qlfs::FileTimes&) override { return false; }
    bool Rename(const std::wstring&, const std::wstring&) override { return false; }
    bool Delete(const std::wstring&) override { return false; }
    bool Replace(const std::wstring&, const std::wstring&) override { return false; }
    bool Link(const std::wstring&, const std::wstring&, bool& taken) override
    {
        taken = false;
        return false;
    }
    uint32_t ReplaceBlockingAttributes() const override { return 0; }
    std::wstring ResolveFileLink(const std::wstring& p) override { return p; }
    bool EnumerateFolder(const std::wstring& f,
                         const std::function<void(const qlfs::FolderEntry&)>& visit) override
    {
        for (const std::wstring& name : m_folders.at(f).second)
            visit({name, IsFolder(f + qlfs::kPathSeparator + name)});
        return true;
    }
    // Identity 0 stands for a folder whose identity cannot be read.
    bool GetFolderId(const std::wstring& f, qlfs::FolderId& id) override
    {
        id = {1, m_folders.at(f).first};
        return id.index != 0;
    }
    // Relative paths start in "/cwd".
    std::wstring FullPath(const std::wstring& p) override
    {
        return p.empty() || p[0] != qlfs::kPathSeparator ? P(L"/cwd/") + p : p;
    }

private:
    std::map<std::wstring, std::pair<uint64_t, Strings>> m_folders;
    Strings m_files;
};

const std::wstring kBanner =
    L"\nQuillet 2.1.0. Copyright (C) 2026 Varnel Software, https://www.varnel.example.\n";
const std::wstring kFinding = L"\nStart finding matched files...\n\n";

struct Parsed {
    CCapturedOutput out;
    CListedFolders fs;
    CConvertJob job{out, fs};
    explicit Parsed(const Strings& args) { job.ParseCommandLine(args); }
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
    EXPECT_EQ((Strings{L"x.txt", L"folder"}), all.job.Paths());

    // Option names are case-sensitive: "FORMAT" is unknown and "crlf" is a path.
    Parsed upper({L"-FORMAT", L"crlf"});
    EXPECT_EQ(LEF_NONE, upper.job.Format());
    EXPECT_EQ((Strings{L"crlf"}), upper.job.Paths());

    // A value is consumed whatever it looks like; an unknown word sets nothing.
    Parsed word({L"-format", L"txt", L"readme.txt", L"-filter", L"-ss"});
    EXPECT_EQ(LEF_NONE, word.job.Format());
    EXPECT_EQ((Strings{L"readme.txt"}), word.job.Paths());
    EXPECT_EQ(L"-ss", word.job.Filter());
    EXPECT_FALSE(word.job.ScanSubfolders());

    // Later values win, unless they are not formats; a dangling option is ignored.
    Parsed later({L"-format", L"lf", L"-format", L"bogus", L"-filter", L"*.a", L"-filter", L"*.b",
                  L"-format"});
    EXPECT_EQ(LEF_LF, later.job.Format());
    EXPECT_EQ(L"*.b", later.job.Filter());
    EXPECT_TRUE(later.job.Paths().empty());

    Parsed unknown({L"/?", L"-", L"-x", L"*.txt", L"/kt", L"/ss/x"});
    EXPECT_TRUE(unknown.job.KeepTimestamps());
#ifdef _WIN32
    EXPECT_EQ((Strings{L"*.txt"}), unknown.job.Paths());
#else
    // Absolute POSIX paths start with "/": only "/" and an option name is an option.
    EXPECT_EQ((Strings{L"/?", L"*.txt", L"/ss/x"}), unknown.job.Paths());
#endif
}

TEST(CConvertJob, CollectsSubfolderFilesWhereTheyAreMetAndLeavesLinkCycles)
{
    Parsed deep({L"-format", L"lf", L"-filter", L"*.txt", L"-ss", L"top", L"missing",
                 P(L"/direct.bak"), P(L"/cwd/top/a.txt")});
    CListedFolders& fs = deep.fs;
    fs.File(L"/direct.bak");
    fs.File(L"/cwd/top/a.txt");
    fs.Folder(L"/cwd/top", 1, {L"a.txt", L"sub.txt", L"up", L"b.txt", L"c.bak"});
    fs.Folder(L"/cwd/top/sub.txt", 2, {L"X.TXT", L"deeper", L"again"});  // folders are not filtered
    fs.Folder(L"/cwd/top/sub.txt/deeper", 3, {L"y.txt", L"loop"});
    fs.Folder(L"/cwd/top/sub.txt/deeper/loop", 1, {L"a.txt"});  // a link back to "top"
    fs.Folder(L"/cwd/top/sub.txt/again", 3, {L"y.txt"});       // a sibling's folder again
    fs.Folder(L"/cwd/top/up", 9, {});
    deep.job.FindMatchedFiles();
    // "again" is the folder "deeper" under a second name: listed once only.
    EXPECT_EQ((Strings{P(L"/cwd/top/a.txt"), P(L"/cwd/top/sub.txt/X.TXT"),
                       P(L"/cwd/top/sub.txt/deeper/y.txt"), P(L"/cwd/top/b.txt"), P(L"/direct.bak"),
                       P(L"/cwd/top/a.txt")}),
              deep.job.MatchedFiles());
    EXPECT_EQ(kFinding + L"   1. a.txt\n   2. X.TXT\n   3. y.txt\n   4. b.txt\n"
                         L"   5. direct.bak\n   6. a.txt\n\nFinished: 6 files matched.\n",
              deep.out.Text());

    CConvertJob flat(deep.out, fs);
    // A folder named twice is listed once; a file named twice is converted twice.
    flat.ParseCommandLine({L"-format", L"lf", L"-filter", L"*.txt", L"top", P(L"/cwd/top"), P(L"top/a.txt"),
                           P(L"top/a.txt")});
    fs.File(L"/cwd/top/a.txt");
    flat.FindMatchedFiles();
    EXPECT_EQ((Strings{P(L"/cwd/top/a.txt"), P(L"/cwd/top/b.txt"), P(L"top/a.txt"), P(L"top/a.txt")}),
              flat.MatchedFiles());

    // A folder without an identity cannot be recognised, so it is listed.
    fs.Folder(L"/cwd/anonymous", 0, {L"n.txt"});
    CConvertJob anonymous(deep.out, fs);
    anonymous.ParseCommandLine({L"-format", L"lf", L"-filter", L"*", L"anonymous"});
    anonymous.FindMatchedFiles();
    EXPECT_EQ((Strings{P(L"/cwd/anonymous/n.txt")}), anonymous.MatchedFiles());

    // Without a filter a folder contributes nothing.
    CConvertJob noFilter(deep.out, fs);
    noFilter.ParseCommandLine({L"-format", L"lf", L"top"});
    noFilter.FindMatchedFiles();
    EXPECT_TRUE(noFilter.MatchedFiles().empty());
}

TEST(CConvertJob, ExitStatusAndOutputOfWholeRuns)
{
    CListedFolders fs;
    fs.File(L"/f.txt");

    CCapturedOutput usage;
    EXPECT_EQ(QLTC_EXIT_OK, RunQltc({}, usage, fs));
    ASSERT_EQ(16u, usage.writes.size());  // the banner and fifteen pieces of usage
    EXPECT_EQ(kBanner, usage.writes[0]);
    EXPECT_EQ(L"  -bo:  Backup original files, save as <original name>.bak.\n", usage.writes[14]);

    // Arguments without a usable format: the banner alone, and a status that says so.
    for (const Strings& args : {Strings{L"/?"}, Strings{P(L"/f.txt"), L"-format", L"txt"}}) {
        CCapturedOutput out;
        EXPECT_EQ(QLTC_EXIT_NO_FORMAT, RunQltc(args, out, fs));
        EXPECT_EQ(kBanner, out.Text());
    }

    CCapturedOutput none;
    EXPECT_EQ(QLTC_EXIT_OK, RunQltc({L"-format", L"lf", L"*.txt"}, none, fs));
    EXPECT_EQ(kBanner + kFinding + L"\nFinished: No files matched.\n", none.Text());

    CCapturedOutput failing;
    EXPECT_EQ(QLTC_EXIT_SOME_FAILED, RunQltc({L"-format", L"cr", P(L"/f.txt")}, failing, fs));
    EXPECT_EQ(kBanner + kFinding + L"   1. f.txt\n\nFinished: 1 files matched.\n\nStart converting...\n\n"
                                   L"   1. f.txt ... converting  \r   1. f.txt ... failed      \n"
                                   L"\nFinished: 0 converted, 1 failed.\n",
              failing.Text());
}

// Without hard links a backup moves the original away first; once the final
// rename then fails, the user is told which file holds the converted content.
TEST(CConvertJob, NamesTheFileThatKeepsConvertedContent)
{
    CFaultyFileSystem fs;
    fs.supportsLinks = false;
    fs.AddFile(L"lost.txt", "a\r\nb");
    fs.failWhen = [](CFaultyFileSystem::EOp op, const std::wstring&, const std::wstring& to) {
        return op == CFaultyFileSystem::EOp::Rename && to == L"lost.txt";
    };
    CCapturedOutput out;
    CConvertJob job(out, fs);
    job.ParseCommandLine({L"-format", L"lf", L"-bo", L"lost.txt"});
    EXPECT_EQ(QLTC_EXIT_SOME_FAILED, job.Run());
    EXPECT_NE(std::wstring::npos, out.Text().find(L"   1. lost.txt ... failed      \n"
                                                  L"      The converted content was kept in "
                                                  L"lost.txt.tmp\n\nFinished: 0 converted, 1 failed.\n"));
    EXPECT_EQ("a\nb", fs.File(L"lost.txt.tmp").content);
}

TEST(ConsoleText, ColumnsAndFileNames)
{
    EXPECT_EQ(L"   7", FormatNumber(7, 4));
    EXPECT_EQ(L" 123", FormatNumber(123, 4));
    EXPECT_EQ(L"12345", FormatNumber(12345, 4));
    EXPECT_EQ(L"converting!!!", PadRight(L"converting!!!", 12));

    EXPECT_EQ(L"c.txt", FileNameOfPath(L"/a/b/c.txt", false));
    EXPECT_EQ(L"a\\b.txt", FileNameOfPath(L"a\\b.txt", false));
    EXPECT_EQ(L"b/", FileNameOfPath(L"/a/b/", false));
    EXPECT_EQ(L"c.txt", FileNameOfPath(L"C:\\a/b\\c.txt", true));
    EXPECT_EQ(L"x.txt", FileNameOfPath(L"C:x.txt", true));
    EXPECT_EQ(L"b\\", FileNameOfPath(L"C:\\a\\b\\", true));

    EXPECT_TRUE(IsBareDrive(L"Z:", true));
    EXPECT_TRUE(IsBareDrive(L"c:", true));
    EXPECT_FALSE(IsBareDrive(L"Z:", false));
    EXPECT_FALSE(IsBareDrive(L"Z:\\", true));
    EXPECT_FALSE(IsBareDrive(L"1:", true));
    EXPECT_FALSE(IsBareDrive(L"ab", true));
}
