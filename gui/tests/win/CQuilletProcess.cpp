#include "CQuilletProcess.h"

#include <cstdio>
#include <vector>

namespace {
std::wstring QuilletPath()
{
    std::vector<wchar_t> buffer(MAX_PATH * 4);
    DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring path(buffer.data(), length);
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"Quillet.exe";
}
}

CQuilletProcess::~CQuilletProcess()
{
    if (m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_process.Get(), 99);
        ::WaitForSingleObject(m_process.Get(), 5000);
    }
}

bool CQuilletProcess::Start(const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + QuilletPath() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // Under load Wine occasionally refuses a start for a moment; a few tries
    // keep that from failing a test that is about something else.
    bool started = false;
    for (int attempt = 0; attempt < 5 && !started; ++attempt) {
        started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &info) != FALSE;
        if (!started) {
            std::fprintf(stderr, "CreateProcessW failed with error %lu\n", ::GetLastError());
            ::Sleep(500);
        }
    }
    if (!started)
        return false;
    CHandle thread(info.hThread);
    m_process.Reset(info.hProcess);
    m_processId = info.dwProcessId;
    return true;
}

std::vector<HWND> CQuilletProcess::VisibleWindows() const
{
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{m_processId, {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && ::IsWindowVisible(window))
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND CQuilletProcess::WaitForWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs) const
{
    DWORD start = ::GetTickCount();
    do {
        for (HWND window : VisibleWindows()) {
            if (match(window))
                return window;
        }
        if (::WaitForSingleObject(m_process.Get(), 100) == WAIT_OBJECT_0)
            return nullptr;
    } while (::GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool CQuilletProcess::WaitForExit(DWORD& exitCode, DWORD timeoutMs)
{
    if (::WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0)
        return false;
    return ::GetExitCodeProcess(m_process.Get(), &exitCode) != FALSE;
}

std::wstring CQuilletProcess::ClassName(HWND window)
{
    wchar_t name[256] = {};
    int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring CQuilletProcess::Text(HWND window)
{
    std::vector<wchar_t> buffer(8192);
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                               SMTO_ABORTIFHUNG, 5000, &copied))
        return {};
    return std::wstring(buffer.data(), static_cast<size_t>(copied));
}
