#include <gtest/gtest.h>

#include "CConvertJob.h"
#include "QltcProcess.h"

namespace {

// The platform's file system, except that a temporary file can never be
// renamed into place: the original is already gone by then, so the converted
// content must stay where it is and be named to the user.
class CFinalRenameFails final : public qlfs::IFileSystem {
public:
    uint32_t GetAttributes(const std::wstring& p) override { return m_fs.GetAttributes(p); }
    bool SetAttributes(const std::wstring& p, uint32_t a) override { return m_fs.SetAttributes(p, a); }
    bool Exists(const std::wstring& p) override { return m_fs.Exists(p); }
    bool IsFolder(const std::wstring& p) override { return m_fs.IsFolder(p); }
    std::unique_ptr<qlfs::IReadFile> OpenRead(const std::wstring& p) override { return m_fs.OpenRead(p); }
    std::unique_ptr<qlfs::IWriteFile> CreateWrite(const std::wstring& p) override
    {
        return m_fs.CreateWrite(p);
    }
    bool GetTimes(const std::wstring& p, qlfs::FileTimes& t) override { return m_fs.GetTimes(p, t); }
    bool SetTimes(const std::wstring& p, const qlfs::FileTimes& t) override { return m_fs.SetTimes(p, t); }
    bool Rename(const std::wstring& from, const std::wstring& to) override
    {
        const std::wstring tmp = L".tmp";
        const bool intoPlace = from.size() >= tmp.size() && from.compare(from.size() - tmp.size(),
                                                                         tmp.size(), tmp) == 0;
        return !intoPlace && m_fs.Rename(from, to);
    }
    bool Delete(const std::wstring& p) override { return m_fs.Delete(p); }
    bool EnumerateFolder(const std::wstring& f,
                         const std::function<void(const qlfs::FolderEntry&)>& visit) override
    {
        return m_fs.EnumerateFolder(f, visit);
    }
    bool GetFolderId(const std::wstring& f, qlfs::FolderId& id) override { return m_fs.GetFolderId(f, id); }
    std::wstring FullPath(const std::wstring& p) override { return m_fs.FullPath(p); }

private:
    qlfs::IFileSystem& m_fs = qlfs::PlatformFileSystem();
};

class CCapturedText final : public IConsoleOutput {
public:
    void Write(std::wstring_view text) override { all += text; }
    std::wstring all;
};

}  // namespace

TEST(CConvertJob, NamesTheFileThatKeepsConvertedContent)
{
    CScratchFolder folder;
    const std::wstring path = folder.Write("lost.txt", "a\r\nb").wstring();
    const std::wstring kept = path + L".tmp";

    CCapturedText out;
    CFinalRenameFails fs;
    CConvertJob job(out, fs);
    job.ParseCommandLine({L"-format", L"lf", L"-bo", path});
    EXPECT_EQ(QLTC_EXIT_SOME_FAILED, job.Run());
    EXPECT_NE(std::wstring::npos,
              out.all.find(L"   1. lost.txt ... failed      \n"
                           L"      The converted content was kept in " + kept + L"\n"
                           L"\nFinished: 0 converted, 1 failed.\n"));
    EXPECT_EQ("a\nb", folder.Read("lost.txt.tmp"));
    EXPECT_EQ("a\r\nb", folder.Read("lost.txt.bak"));
}
