#include "QltcProcess.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include "CUniqueHandle.h"
#include "win/Win32RemoveTree.h"
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// On Windows every line must end in "\r\n": a bare "\n" is marked, so that
// the comparison with the expected text fails.
std::string NormaliseLineBreaks(const std::string& raw)
{
    std::string text;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            continue;
#ifdef _WIN32
        if (raw[i] == '\n' && (i == 0 || raw[i - 1] != '\r'))
            text += "[bare LF]";
#endif
        text += raw[i];
    }
    return text;
}

#ifdef _WIN32

// The tests and the program are built into the same folder.
fs::path QltcProgram()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path() / L"QLTC.exe";
}

std::wstring Widen(const std::string& text) { return fs::path(text).wstring(); }

// Quotes an argument the way the C runtime's splitter takes it apart again.
std::wstring QuoteArgument(const std::wstring& arg)
{
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

QltcRun RunProcess(const std::vector<std::string>& args, const fs::path& folder,
                   const std::vector<std::string>& environment)
{
    for (const std::string& entry : environment)
        _wputenv(Widen(entry).c_str());
    std::wstring commandLine = QuoteArgument(QltcProgram().wstring());
    for (const std::string& arg : args)
        commandLine += L" " + QuoteArgument(Widen(arg));

    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    CHandle readEnd, writeEnd;
    QltcRun run;
    if (!CreatePipe(readEnd.Put(), writeEnd.Put(), &inherit, 0))
        return run;
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        folder.wstring().c_str(), &startup, &process))
        return run;
    CHandle processHandle(process.hProcess), threadHandle(process.hThread);
    // Our copy of the write end must go, or the read below never sees the end.
    writeEnd.Close();
    char buffer[4096];
    DWORD got;
    while (ReadFile(readEnd.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
        run.output.append(buffer, got);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = DWORD(-1);
    GetExitCodeProcess(process.hProcess, &code);
    run.exitCode = int(code);
    return run;
}

#else

fs::path QltcProgram() { return fs::read_symlink("/proc/self/exe").parent_path() / "QLTC"; }

QltcRun RunProcess(const std::vector<std::string>& args, const fs::path& folder,
                   const std::vector<std::string>& environment)
{
    QltcRun run;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return run;
    const std::string program = QltcProgram().string();
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        for (const std::string& entry : environment)
            putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        if (chdir(folder.c_str()) == 0)
            execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipeEnds[0], buffer, sizeof(buffer))) > 0)
        run.output.append(buffer, size_t(got));
    close(pipeEnds[0]);
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

#endif

}  // namespace

fs::path QltcProgramPath() { return QltcProgram(); }

QltcRun RunQltcProcess(const std::vector<std::string>& args, const fs::path& folder,
                       const std::vector<std::string>& environment)
{
    QltcRun run = RunProcess(args, folder, environment);
    run.output = NormaliseLineBreaks(run.output);
    return run;
}

CScratchFolder::CScratchFolder()
{
    static std::atomic<int> counter{0};
    std::ostringstream name;
#ifdef _WIN32
    name << "qltc-test-" << GetCurrentProcessId() << "-" << counter++;
#else
    name << "qltc-test-" << getpid() << "-" << counter++;
#endif
    m_path = fs::temp_directory_path() / name.str();
    fs::remove_all(m_path);
    fs::create_directories(m_path);
}

CScratchFolder::~CScratchFolder()
{
#ifdef _WIN32
    RemoveTreeForTest(m_path.wstring());
#else
    std::error_code ignored;
    // Read-only files left by a test would stop the clean-up.
    for (const auto& entry : fs::recursive_directory_iterator(m_path, ignored))
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    fs::remove_all(m_path, ignored);
#endif
}

fs::path CScratchFolder::Write(const std::string& name, const std::string& content) const
{
    const fs::path path = m_path / fs::path(name);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string CScratchFolder::Read(const std::string& name) const
{
    std::ifstream in(m_path / fs::path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
