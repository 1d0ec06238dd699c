#include "CommandLine.h"
#include "ContextMenuLogic.h"
#include "MemoryRegistry.h"
#include "ProgramLocator.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace qlshell;

namespace {

constexpr const wchar_t* kProgram = L"C:\\Apps\\Quillet\\Quillet.exe";

// A machine with the program installed in C:\Apps\Quillet and the folders C:\src and C:\.
class ContextMenuLogicTest : public ::testing::Test {
protected:
    ContextMenuLogicTest() { m_registry.SetString(L"", L"AppFolder", L"C:\\Apps\\Quillet"); }

    void Select(const std::vector<std::wstring>& paths) {
        m_logic.BeginSelection(static_cast<uint32_t>(paths.size()));
        for (const std::wstring& path : paths) m_logic.AddSelectedPath(path, m_isDirectory);
        m_logic.BuildMenu();
    }
    CInvokePlan Invoke(uint32_t offset, bool ctrlDown) { return m_logic.InvokeCommand(offset, ctrlDown, m_fileExists); }

    std::set<std::wstring> m_files{kProgram};
    PathTest m_isDirectory = [](const std::wstring& p) { return p == L"C:\\src" || p == L"C:\\"; };
    PathTest m_fileExists = [this](const std::wstring& p) { return m_files.count(p) > 0; };
    CMemoryRegistry m_registry;
    CContextMenuLogic m_logic{m_registry};
};

}  // namespace

TEST_F(ContextMenuLogicTest, WorkedParameterTable) {
    Select({L"C:\\d\\a.txt", L"C:\\d\\b.txt"});
    CInvokePlan plan = Invoke(2, false);
    EXPECT_EQ(plan.outcome, InvokeOutcome::Launch);
    EXPECT_EQ(plan.programPath, kProgram);
    EXPECT_EQ(plan.parameters, L" -format lf \"C:\\d\\a.txt\" \"C:\\d\\b.txt\" -ka -cr -as -ac");

    Select({L"C:\\src"});
    EXPECT_EQ(Invoke(0, true).parameters,
              L" -filter \"*.c;*.cpp;*.cxx;*.cc;*.h;*.hpp;*.hxx;*.inl\" \"C:\\src\" -ss -ka -cr");

    Select({L"C:\\d\\a.txt"});
    EXPECT_EQ(Invoke(3, false).parameters, L" \"C:\\d\\a.txt\" -ka -cr");

    Select({L"C:\\src", L"C:\\d\\a.txt"});
    EXPECT_EQ(Invoke(20, false).parameters, L" \"C:\\src\" \"C:\\d\\a.txt\" -ka -cr");

    Select({L"C:\\d\\a.txt"});
    EXPECT_EQ(Invoke(0, false).parameters, L" -format crlf \"C:\\d\\a.txt\" -ka -cr -as -ac");
    Select({L"C:\\d\\a.txt"});
    EXPECT_EQ(Invoke(1, true).parameters, L" -format cr \"C:\\d\\a.txt\" -ss -ka -cr -as -ac");
}

TEST_F(ContextMenuLogicTest, CtrlIsTheStateAtInvokeAndPathsAreClearedAfterwards) {
    Select({L"C:\\d\\a.txt"});
    EXPECT_EQ(Invoke(3, true).parameters, L" \"C:\\d\\a.txt\" -ss -ka -cr");
    // Same menu, no new selection: Ctrl now up, and the paths are gone.
    EXPECT_EQ(Invoke(3, false).parameters, L" -ka -cr");

    // An offset outside the menu changes nothing, the selection included.
    Select({L"C:\\d\\a.txt"});
    EXPECT_EQ(Invoke(4, false).outcome, InvokeOutcome::InvalidCommand);
    EXPECT_EQ(m_logic.SelectedPaths().GetCount(), 1);

    // Without the program nothing starts, and the paths are still cleared.
    m_files.clear();
    CInvokePlan plan = Invoke(0, false);
    EXPECT_EQ(plan.outcome, InvokeOutcome::ProgramNotFound);
    EXPECT_TRUE(plan.programPath.empty());
    EXPECT_EQ(m_logic.SelectedPaths().GetCount(), 0);
}

TEST_F(ContextMenuLogicTest, DriveRootAndQuotedFilterReachTheProgramIntact) {
    m_registry.SetDword(L"Filters", L"Count", 1);
    m_registry.SetString(L"Filters\\01", L"Name", L"Odd");
    m_registry.SetString(L"Filters\\01", L"Filter", L"*.\"x\\\" -as");
    Select({L"C:\\", L"C:\\d\\a.txt"});
    CInvokePlan plan = Invoke(0, false);
    std::vector<std::wstring> argv = SplitCommandLine(L"\"" + plan.programPath + L"\" " + plan.parameters);
    EXPECT_EQ(argv, (std::vector<std::wstring>{kProgram, L"-filter", L"*.\"x\\\" -as", L"C:\\", L"C:\\d\\a.txt",
                                                L"-ka", L"-cr"}));
}

TEST_F(ContextMenuLogicTest, SelectionTooLongForACommandLineStartsNothing) {
    // Fill the command line exactly to the limit, then one character more.
    // Each path costs its length plus a blank and two quotes.
    const std::wstring fixed = L" -format lf -ka -cr -as -ac";
    const size_t room = kMaxProcessCommandLineChars - ShellCommandLineLength(kProgram, fixed);
    const std::wstring path = L"C:\\" + std::wstring(1000, L'a');
    std::vector<std::wstring> paths;
    size_t used = 0;
    while (used + 2 * (path.size() + 3) <= room) {
        paths.push_back(path);
        used += path.size() + 3;
    }
    paths.push_back(L"C:\\" + std::wstring(room - used - 6, L'b'));

    Select(paths);
    CInvokePlan plan = Invoke(2, false);
    ASSERT_EQ(plan.outcome, InvokeOutcome::Launch);
    EXPECT_EQ(ShellCommandLineLength(plan.programPath, plan.parameters), kMaxProcessCommandLineChars);

    paths.back() += L'b';
    Select(paths);
    plan = Invoke(2, false);
    EXPECT_EQ(plan.outcome, InvokeOutcome::SelectionTooLong);
    EXPECT_TRUE(plan.programPath.empty());
    EXPECT_EQ(m_logic.SelectedPaths().GetCount(), 0);
}

TEST_F(ContextMenuLogicTest, ProgramPathComesOnlyFromAUsableAppFolder) {
    auto find = [this] { return FindProgramPath(m_registry, m_fileExists); };
    EXPECT_EQ(find(), kProgram);

    m_files.insert(L"C:\\Apps\\\\Quillet.exe");
    m_registry.SetString(L"", L"AppFolder", L"C:\\Apps\\");  // used as built
    EXPECT_EQ(find(), L"C:\\Apps\\\\Quillet.exe");

    m_files.insert(L"\\\\server\\share\\Quillet.exe");
    m_registry.SetString(L"", L"AppFolder", L"\\\\server\\share");
    EXPECT_EQ(find(), L"\\\\server\\share\\Quillet.exe");

    const std::wstring longFolder = L"C:\\" + std::wstring(507, L'x');
    m_files.insert(longFolder + L"\\Quillet.exe");
    m_registry.SetString(L"", L"AppFolder", longFolder);
    EXPECT_EQ(find(), longFolder + L"\\Quillet.exe");  // 510 characters still fit
    m_registry.SetString(L"", L"AppFolder", longFolder + L"x");
    EXPECT_EQ(find(), std::nullopt);

    // Empty or relative (resolved against Explorer's current folder), or no file there.
    m_files.insert(L"\\Quillet.exe");
    m_files.insert(L"Apps\\Quillet.exe");
    for (const wchar_t* folder : {L"", L"Apps", L"C:\\Nowhere"}) {
        m_registry.SetString(L"", L"AppFolder", folder);
        EXPECT_EQ(find(), std::nullopt) << folder;
    }
    // No terminator, wrong type, absent.
    m_registry.SetValue(L"", L"AppFolder", kRegSz, CMemoryRegistry::Utf16Bytes(L"C:\\Apps\\Quillet"));
    EXPECT_EQ(find(), std::nullopt);
    m_registry.SetDword(L"", L"AppFolder", 1);
    EXPECT_EQ(find(), std::nullopt);
    m_registry.DeleteValue(L"", L"AppFolder");
    EXPECT_EQ(find(), std::nullopt);
    EXPECT_EQ(m_registry.OpenKeyCount(), 0);
}

TEST_F(ContextMenuLogicTest, MachineAppFolderServesUsersWithoutTheirOwn) {
    CMemoryRegistry machine;
    m_registry.UseMachineHive(machine);
    auto find = [this] { return FindProgramPath(m_registry, m_fileExists); };
    const std::wstring machineProgram = L"C:\\Program Files\\Quillet\\Quillet.exe";
    m_files.insert(machineProgram);
    machine.SetString(L"", L"AppFolder", L"C:\\Program Files\\Quillet");

    EXPECT_EQ(find(), kProgram);  // the user's own value wins
    // A user's value that points nowhere is still the user's choice: no fallback.
    m_registry.SetString(L"", L"AppFolder", L"C:\\Nowhere");
    EXPECT_EQ(find(), std::nullopt);
    // Missing by the string rules (absent, wrong type): the machine's value.
    m_registry.SetDword(L"", L"AppFolder", 1);
    EXPECT_EQ(find(), machineProgram);
    m_registry.DeleteKey(L"");
    EXPECT_EQ(find(), machineProgram);
    machine.SetString(L"", L"AppFolder", L"Quillet");  // relative: never started
    EXPECT_EQ(find(), std::nullopt);
    machine.DeleteValue(L"", L"AppFolder");
    EXPECT_EQ(find(), std::nullopt);
    EXPECT_EQ(machine.OpenKeyCount(), 0);
}
