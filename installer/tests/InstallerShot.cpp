// Clicks through the setup program's pages for screenshots: it stops on the
// install-mode page, the finish page and the uninstaller's settings page,
// says so with a file, and goes on when the screenshot script answers with
// another. Afterwards it uninstalls the copy silently and puts the
// "AppFolder" value back as it found it.
//   InstallerShot.exe <setup.exe> <install folder> <signal folder>
// Signals in <signal folder>: <page>.ready -> <page>.done for mode, finish, uninstall.
#include <windows.h>

#include <string>

namespace {

const wchar_t kAppKey[] = L"Software\\Varnel\\Quillet";

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

template <class Condition>
bool WaitFor(Condition done, DWORD timeoutMs = 60000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > deadline)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(50);
    }
    return true;
}

struct CFind {
    DWORD process = 0;
    const wchar_t* text = nullptr;
    HWND found = nullptr;
};

BOOL CALLBACK FindChildText(HWND window, LPARAM param) {
    auto* find = reinterpret_cast<CFind*>(param);
    wchar_t text[256] = {};
    GetWindowTextW(window, text, ARRAYSIZE(text));
    if (wcscmp(text, find->text) == 0) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindSetupWindow(HWND window, LPARAM param) {
    auto* find = reinterpret_cast<CFind*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if ((find->process != 0 && process != find->process) || !IsWindowVisible(window))
        return TRUE;
    CFind child{process, find->text};
    EnumChildWindows(window, FindChildText, reinterpret_cast<LPARAM>(&child));
    if (child.found == nullptr)
        return TRUE;
    find->found = window;
    return FALSE;
}

// The visible top-level window of `process` (0: of any process) once it
// shows a control with `text`.
HWND WaitForPage(DWORD process, const wchar_t* text) {
    CFind find{process, text};
    WaitFor([&] {
        EnumWindows(FindSetupWindow, reinterpret_cast<LPARAM>(&find));
        return find.found != nullptr;
    });
    return find.found;
}

// Shows the page to the screenshot script and waits until it has taken it.
bool Pause(HWND page, const std::wstring& signals, const wchar_t* name) {
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HANDLE ready = CreateFileW((signals + L"\\" + name + L".ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               0, nullptr);
    if (ready == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(ready);
    return WaitFor([&] { return Exists(signals + L"\\" + name + L".done"); });
}

void Click(HWND window, int id) { SendMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0); }

// Starts a command line; the thread handle is closed, the process handle returned (null on failure).
HANDLE Start(std::wstring line, DWORD* processId = nullptr) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    if (processId != nullptr)
        *processId = process.dwProcessId;
    return process.hProcess;
}

int DriveSetup(const std::wstring& setup, const std::wstring& folder, const std::wstring& signals) {
    DWORD id = 0;
    HANDLE process = Start(L"\"" + setup + L"\" /CurrentUser /D=" + folder, &id);
    if (process == nullptr)
        return 2;
    int result = 0;
    HWND page = WaitForPage(id, L"Install just for &me (recommended)");
    if (page == nullptr || !Pause(page, signals, L"mode")) {
        result = 3;
    } else {
        Click(page, IDOK); // Next: the folder page
        page = WaitForPage(id, L"&Install");
        if (page != nullptr)
            Click(page, IDOK);
        page = WaitForPage(id, L"&Finish");
        if (page == nullptr || !Pause(page, signals, L"finish"))
            result = 4;
        else
            Click(page, IDOK);
    }
    if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        result = result ? result : 5;
    }
    CloseHandle(process);
    return result;
}

// The uninstaller runs from a copy of itself in another process, so its page
// is looked for in every process. Cancel leaves the copy installed.
int ShowUninstallPage(const std::wstring& folder, const std::wstring& signals) {
    HANDLE process = Start(L"\"" + folder + L"\\Uninstall.exe\"");
    if (process == nullptr)
        return 6;
    CloseHandle(process);
    HWND page = WaitForPage(0, L"&Remove my settings and preset filters too");
    if (page == nullptr || !Pause(page, signals, L"uninstall"))
        return 7;
    Click(page, IDCANCEL);
    return WaitFor([&] { return !IsWindow(page); }) ? 0 : 8;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4)
        return 1;
    const std::wstring folder = argv[2];
    wchar_t saved[2048] = {};
    DWORD savedSize = sizeof(saved) - sizeof(wchar_t);
    const bool hadValue =
        RegGetValueW(HKEY_CURRENT_USER, kAppKey, L"AppFolder", RRF_RT_REG_SZ, nullptr, saved, &savedSize) ==
        ERROR_SUCCESS;

    int result = DriveSetup(argv[1], folder, argv[3]);
    if (result == 0)
        result = ShowUninstallPage(folder, argv[3]);

    if (Exists(folder + L"\\Uninstall.exe")) {
        // The uninstaller copies itself away and returns at once; the folder goes last.
        if (HANDLE process = Start(L"\"" + folder + L"\\Uninstall.exe\" /S")) {
            CloseHandle(process);
            WaitFor([&] { return !Exists(folder); });
        }
    }
    if (hadValue)
        RegSetKeyValueW(HKEY_CURRENT_USER, kAppKey, L"AppFolder", REG_SZ, saved,
                        static_cast<DWORD>((wcslen(saved) + 1) * sizeof(wchar_t)));
    return result;
}
