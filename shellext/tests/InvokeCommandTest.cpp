// InvokeCommand starting the recording stand-in for Quillet.exe: the exact
// parameters of each command, and nothing started without a usable "AppFolder".
#include "HandlerFixture.h"

#include <shellapi.h>

using namespace qltest;

namespace {

const wchar_t kAppKey[] = L"Software\\Varnel\\Quillet";

class InvokeCommand : public HandlerFixture {
protected:
    void SetUp() override {
        HandlerFixture::SetUp();
        WriteString(HKEY_CURRENT_USER, kAppKey, L"AppFolder", StubFolder());
        UseRecord(L"record.txt");
    }

    void UseRecord(const std::wstring& name) {
        m_record = Scratch().Path() + L"\\" + name;
        DeleteFileW(m_record.c_str());
        SetEnvironmentVariableW(L"QL_STUB_RECORD", m_record.c_str());
    }

    // The stand-in's command line; ShellExecuteW returns before the program
    // has run, so this polls for the record.
    std::wstring WaitForRecord(DWORD timeoutMs = 20000) const {
        for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
            HANDLE file = CreateFileW(m_record.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                std::wstring line(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
                DWORD read = 0;
                ReadFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &read, nullptr);
                CloseHandle(file);
                return line;
            }
            Sleep(50);
        }
        return L"<not started>";
    }

    // Runs one command for a new selection and returns the parameters the
    // program received: its command line after the quoted program path.
    std::wstring Run(const std::vector<std::wstring>& paths, UINT offset, bool ctrlDown) {
        UseRecord(L"record-" + std::to_wstring(++m_runs) + L".txt");
        EXPECT_EQ(S_OK, Initialize(paths));
        EXPECT_TRUE(SUCCEEDED(Query()));
        EXPECT_EQ(S_OK, Invoke(offset, ctrlDown));
        return Parameters(WaitForRecord());
    }

    static std::wstring Parameters(const std::wstring& line) {
        const std::wstring program = L"\"" + StubFolder() + L"\\Quillet.exe\"";
        if (line.compare(0, program.size(), program) != 0)
            return L"<unexpected program> " + line;
        std::size_t start = program.size();
        // The parameters themselves begin with a blank; the shell may put one of its own in front.
        if (line.compare(start, 2, L"  ") == 0)
            ++start;
        return line.substr(start);
    }

    std::wstring m_record;
    int m_runs = 0;
};

} // namespace

TEST_F(InvokeCommand, WorkedExamplesGiveTheirExactParameters) {
    const std::wstring a = Scratch().AddFile(L"a.txt");
    const std::wstring b = Scratch().AddFile(L"b.txt");
    const std::wstring src = Scratch().AddFolder(L"src");

    EXPECT_EQ(L" -format lf \"" + a + L"\" \"" + b + L"\" -ka -cr -as -ac", Run({a, b}, 2, false));
    EXPECT_EQ(L" -filter \"*.c;*.cpp;*.cxx;*.cc;*.h;*.hpp;*.hxx;*.inl\" \"" + src + L"\" -ss -ka -cr",
              Run({src}, 0, true));
    EXPECT_EQ(L" \"" + a + L"\" -ka -cr", Run({a}, 3, false));
    EXPECT_EQ(L" \"" + src + L"\" \"" + a + L"\" -ka -cr", Run({src, a}, 20, false));
    EXPECT_EQ(L" -format crlf \"" + a + L"\" -ss -ka -cr -as -ac", Run({a}, 0, true));

    // A long path is passed whole: cut short it could name another file or folder.
    const std::wstring deep = src + L"\\" + std::wstring(1100, L'd') + L"\\x.txt";
    EXPECT_EQ(L" \"" + deep + L"\" -ka -cr", Run({deep}, 3, false));

    // The paths were used up by the last command: the next one passes none.
    UseRecord(L"again.txt");
    EXPECT_EQ(S_OK, Invoke(3));
    EXPECT_EQ(L" -ka -cr", Parameters(WaitForRecord()));
}

TEST_F(InvokeCommand, DriveRootsAndQuotesInFiltersReachTheProgramIntact) {
    const std::wstring filters = std::wstring(kAppKey) + L"\\Filters";
    WriteDword(HKEY_CURRENT_USER, filters, L"Count", 1);
    WriteString(HKEY_CURRENT_USER, filters + L"\\01", L"Name", L"Odd");
    WriteString(HKEY_CURRENT_USER, filters + L"\\01", L"Filter", L"*.txt;\"x");
    const std::wstring line = Run({L"C:\\"}, 0, false);
    EXPECT_EQ(L" -filter \"*.txt;\\\"x\" \"C:\\\\\" -ka -cr", line);

    int count = 0;
    LPWSTR* args = CommandLineToArgvW((L"Quillet.exe" + line).c_str(), &count);
    ASSERT_NE(nullptr, args);
    const std::vector<std::wstring> parsed(args + 1, args + count);
    LocalFree(args);
    EXPECT_EQ((std::vector<std::wstring>{L"-filter", L"*.txt;\"x", L"C:\\", L"-ka", L"-cr"}), parsed);
}

TEST_F(InvokeCommand, NothingStartsWithoutAUsableAppFolderOrForForeignVerbs) {
    const std::wstring a = Scratch().AddFile(L"a.txt");
    UseRecord(L"must-not-exist.txt");
    auto invokeOnce = [&] {
        EXPECT_EQ(S_OK, Initialize({a}));
        EXPECT_TRUE(SUCCEEDED(Query()));
        EXPECT_EQ(S_OK, Invoke(2));
    };
    DeleteTree(HKEY_CURRENT_USER, kAppKey);
    invokeOnce(); // no value at all
    WriteDword(HKEY_CURRENT_USER, kAppKey, L"AppFolder", 7);
    invokeOnce(); // not a string
    WriteString(HKEY_CURRENT_USER, kAppKey, L"AppFolder", StubFolder() + std::wstring(511, L'\\'));
    invokeOnce(); // longer than 510 characters
    WriteString(HKEY_CURRENT_USER, kAppKey, L"AppFolder", Scratch().Path());
    invokeOnce(); // no Quillet.exe there

    // Foreign verbs and offsets beyond the menu are refused.
    WriteString(HKEY_CURRENT_USER, kAppKey, L"AppFolder", StubFolder());
    ASSERT_EQ(S_OK, Initialize({a}));
    ASSERT_TRUE(SUCCEEDED(Query()));
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = CMIC_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    EXPECT_EQ(E_INVALIDARG, m_menu->InvokeCommand(&info));
    EXPECT_EQ(E_INVALIDARG, Invoke(4));

    // The selection survived the refusals; a good command now starts the program.
    UseRecord(L"good.txt");
    EXPECT_EQ(S_OK, Invoke(1));
    EXPECT_EQ(L" -format cr \"" + a + L"\" -ka -cr -as -ac", Parameters(WaitForRecord()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((Scratch().Path() + L"\\must-not-exist.txt").c_str()));
}

TEST_F(InvokeCommand, BareNamesInTheDataObjectNeverReachTheCommandLine) {
    const std::wstring a = Scratch().AddFile(L"a.txt");
    EXPECT_EQ(L" -format lf \"" + a + L"\" -ka -cr -as -ac", Run({L"-h", a, L"/ss", L"-format", L"b.txt"}, 2, false));
    // Nothing fully qualified at all: the program gets no path.
    EXPECT_EQ(L" -ka -cr", Run({L"/?", L"-ac"}, 3, false));
}

TEST_F(InvokeCommand, MachineAppFolderServesAUserWithoutTheirOwn) {
    CAppKeyScope machine(HKEY_LOCAL_MACHINE);
    const std::wstring a = Scratch().AddFile(L"a.txt");
    WriteString(HKEY_LOCAL_MACHINE, kAppKey, L"AppFolder", StubFolder());
    DeleteTree(HKEY_CURRENT_USER, kAppKey);
    EXPECT_EQ(L" \"" + a + L"\" -ka -cr", Run({a}, 3, false));

    // The user's own value wins, also when it leads nowhere.
    WriteString(HKEY_CURRENT_USER, kAppKey, L"AppFolder", Scratch().Path());
    UseRecord(L"must-not-exist.txt");
    ASSERT_EQ(S_OK, Initialize({a}));
    ASSERT_TRUE(SUCCEEDED(Query()));
    EXPECT_EQ(S_OK, Invoke(3));
    const std::wstring unstarted = m_record;
    // A program started after it has run: the refused one would have, too.
    WriteString(HKEY_CURRENT_USER, kAppKey, L"AppFolder", StubFolder());
    EXPECT_EQ(L" \"" + a + L"\" -ka -cr", Run({a}, 3, false));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(unstarted.c_str()));
}
