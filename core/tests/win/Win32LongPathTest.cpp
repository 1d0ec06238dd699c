// Paths past MAX_PATH on the Win32 backend, seen at the Win32 calls
// themselves: Wine takes long paths in any form, so these tests look at the
// form that reaches Windows rather than only at the outcome.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "CWin32FileCallRecorder.h"
#include "ConvertFile.h"
#include "LineEndingFormat.h"
#include "Win32RemoveTree.h"
#include "fs/IFileSystem.h"
#include "CUniqueHandle.h"

namespace {

const std::wstring kLiteralPrefix = L"\\\\?\\";

// A fresh folder under the temporary folder, with a chain of folders inside it
// down to at least `depth` characters; all of it is removed afterwards.
class CDeepFolder {
public:
    explicit CDeepFolder(size_t depth)
    {
        m_base = std::filesystem::temp_directory_path().wstring();
        if (m_base.back() == L'\\')
            m_base.pop_back();
        m_base += L"\\ql-long-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount64());
        Create(m_base);
        m_deep = m_base;
        for (int level = 0; m_deep.size() < depth; ++level) {
            m_deep += L"\\level-" + std::to_wstring(level) + L"-" + std::wstring(90, L'd');
            Create(m_deep);
        }
    }
    ~CDeepFolder() { EXPECT_TRUE(RemoveTreeForTest(m_base)); }
    CDeepFolder(const CDeepFolder&) = delete;
    CDeepFolder& operator=(const CDeepFolder&) = delete;

    const std::wstring& Base() const { return m_base; }
    const std::wstring& Deep() const { return m_deep; }

private:
    static void Create(const std::wstring& folder)
    {
        ASSERT_TRUE(::CreateDirectoryW((kLiteralPrefix + folder).c_str(), nullptr)) << folder.size();
    }

    std::wstring m_base, m_deep;
};

// Makes `folder` the process's current folder until the scope ends.
class CCurrentFolderScope {
public:
    explicit CCurrentFolderScope(const std::wstring& folder)
    {
        wchar_t previous[MAX_PATH];
        m_previous.assign(previous, ::GetCurrentDirectoryW(MAX_PATH, previous));
        EXPECT_TRUE(::SetCurrentDirectoryW(folder.c_str()));
    }
    ~CCurrentFolderScope() { ::SetCurrentDirectoryW(m_previous.c_str()); }

private:
    std::wstring m_previous;
};

// Written straight through Win32, so that only the cases under test go
// through the file-system layer.
void WriteFile(const std::wstring& path, const std::string& content)
{
    CFileHandle file(::CreateFileW((kLiteralPrefix + path).c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file.IsValid() && ::WriteFile(file.Get(), content.data(), DWORD(content.size()), &written, nullptr) &&
                written == content.size());
}

std::string ReadFile(qlfs::IFileSystem& fs, const std::wstring& path)
{
    auto file = fs.OpenRead(path);
    std::string content;
    char buffer[256];
    for (int64_t got; file && (got = file->Read(buffer, sizeof(buffer))) > 0;)
        content.append(buffer, size_t(got));
    return content;
}

std::wstring WithSlashes(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'\\')
            c = L'/';
    return path;
}

}  // namespace

TEST(Win32LongPath, LongPathsReachWindowsInTheLiteralFormAndShortOnesAsTheyAre)
{
    qlfs::IFileSystem& fs = qlfs::PlatformFileSystem();
    CDeepFolder tree(600);
    const std::wstring deepFile = tree.Deep() + L"\\notes.txt";
    const std::wstring shortFile = tree.Base() + L"\\short.txt";
    ASSERT_GT(deepFile.size(), 600u);
    WriteFile(deepFile, "a\nb\r\n");
    WriteFile(shortFile, "s\n");

    CCurrentFolderScope inBase(tree.Base());
    const std::wstring deepRelative = WithSlashes(deepFile.substr(tree.Base().size() + 1));
    std::vector<CWin32FileCallRecorder::Call> calls;
    std::vector<std::wstring> listed;
    {
        CWin32FileCallRecorder recorder;
        ASSERT_GT(recorder.RedirectedEntries(), 0u);
        // A conversion with every option, and one that keeps no backup...
        EXPECT_EQ(0, ConvertFile(fs, deepRelative, LEF_CRLF, true, true, true, true, nullptr, nullptr));
        EXPECT_EQ(0, ConvertFile(fs, deepFile, LEF_CR, false, false, false, false, nullptr, nullptr));
        EXPECT_EQ(0, ConvertFile(fs, L"short.txt", LEF_CRLF, false, false, false, false, nullptr, nullptr));
        // ...and each operation of the layer on its own.
        qlfs::FileTimes times;
        EXPECT_TRUE(fs.GetTimes(deepFile, times));
        EXPECT_TRUE(fs.SetTimes(deepFile, times));
        EXPECT_TRUE(fs.SetAttributes(deepFile, qlfs::kAttrArchive));
        EXPECT_TRUE(fs.Rename(deepFile + L".bak", tree.Deep() + L"\\renamed.bak"));
        EXPECT_TRUE(fs.IsFolder(tree.Deep()));
        qlfs::FolderId id;
        EXPECT_TRUE(fs.GetFolderId(tree.Deep(), id));
        EXPECT_TRUE(fs.EnumerateFolder(tree.Deep(), [&](const qlfs::FolderEntry& e) { listed.push_back(e.name); }));
        EXPECT_TRUE(fs.Delete(tree.Deep() + L"\\renamed.bak"));
        EXPECT_FALSE(fs.Exists(tree.Deep() + L"\\renamed.bak"));
        calls = recorder.Calls();
    }
    EXPECT_EQ("a\rb\r", ReadFile(fs, deepFile));
    EXPECT_EQ("s\r\n", ReadFile(fs, shortFile));
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ((std::vector<std::wstring>{L"notes.txt", L"renamed.bak"}), listed);

    // Whatever reached Windows was absolute with backslashes only: in the
    // literal form inside the deep folder (however the path was given), plain
    // for the short file.
    const std::wstring deepest = tree.Deep().substr(tree.Deep().rfind(L'\\') + 1);
    std::set<std::string> deepFunctions;
    size_t shortCalls = 0;
    for (const auto& call : calls) {
        for (const std::wstring& path : call.paths) {
            if (path.find(deepest) != std::wstring::npos) {
                EXPECT_EQ(0u, path.find(kLiteralPrefix + tree.Deep())) << call.function;
                deepFunctions.insert(call.function);
            } else if (path.find(L"short.txt") != std::wstring::npos) {
                EXPECT_EQ(0u, path.find(shortFile)) << call.function;
                ++shortCalls;
            }
        }
    }
    // The converted file replaces the original through its own handle, whose
    // target name takes the same form (ToWin32Path); no MoveFileExW is left.
    for (const char* function : {"CreateFileW", "GetFileAttributesW", "GetFileAttributesExW", "SetFileAttributesW",
                                 "MoveFileW", "CreateHardLinkW", "DeleteFileW", "FindFirstFileW"})
        EXPECT_EQ(1u, deepFunctions.count(function)) << function;
    EXPECT_GT(shortCalls, 0u);
}

TEST(Win32LongPath, NamesKeepTheirLimitBelowTheTemporaryNameBuffer)
{
    // The temporary name "<path>.tmp" must fit 1024 characters, terminator
    // included, however long a path the file system takes.
    qlfs::IFileSystem& fs = qlfs::PlatformFileSystem();
    CDeepFolder tree(900);
    const std::wstring folder = tree.Deep() + L"\\";
    const std::wstring fits = folder + std::wstring(1019 - folder.size(), L'f');
    const std::wstring tooLong = folder + std::wstring(1020 - folder.size(), L'g');
    WriteFile(fits, "x\n");
    WriteFile(tooLong, "y\n");
    EXPECT_EQ(0, ConvertFile(fs, fits, LEF_CRLF, false, false, false, false, nullptr, nullptr));
    EXPECT_EQ(-1, ConvertFile(fs, tooLong, LEF_CRLF, false, false, false, false, nullptr, nullptr));
    EXPECT_EQ("x\r\n", ReadFile(fs, fits));
    EXPECT_EQ("y\n", ReadFile(fs, tooLong));
}

TEST(Win32LongPath, FullPathsAreThoseThatWindowsGives)
{
    qlfs::IFileSystem& fs = qlfs::PlatformFileSystem();
    CDeepFolder tree(0);
    CCurrentFolderScope inBase(tree.Base());
    // Wine alone reads "/a" as a Unix path (on its drive Z:), and gives "C:"
    // with a final backslash; neither changes which file a path names.
    const wchar_t* given[] = {
        L"a.txt",          L"sub/./a.txt",     L"..\\a.txt",        L".",           L"..",
        L"\\a.txt",        L"\\a\\..\\b",      L"C:x\\y",           L"C:..\\x",     L"Q:x",
        L"C:\\a\\\\b//c",  L"C:\\a\\b\\..\\",  L"C:\\a\\b\\..",     L"C:\\..\\x",   L"C:\\a.\\b",
        L"C:\\a..\\b",     L"C:\\a\\b. . ",    L"C:\\a\\ .",        L"C:\\a \\b",   L"C:\\a\\b \\",
        L"C:\\a\\...\\b",  L"\\\\srv\\share\\a\\..\\b", L"//srv/share/x/./y", L"\\\\srv\\share\\..\\x",
        L"\\\\.\\C:\\a\\..\\b", L"a.\\b..\\c...",
    };
    for (const wchar_t* path : given) {
        wchar_t expected[1024];
        const DWORD length = ::GetFullPathNameW(path, 1024, expected, nullptr);
        ASSERT_GT(length, 0u) << path;
        EXPECT_EQ(std::wstring(expected, length), fs.FullPath(path)) << path;
    }
}
