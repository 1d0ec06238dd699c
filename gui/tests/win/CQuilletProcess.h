#pragma once
// Classes: CQuilletProcess, Quillet.exe started as its own process by a test,
// with the means to find its windows, read them and wait for its end. A
// process still running when the object goes is terminated.
#include "CUniqueHandle.h"

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

class CQuilletProcess {
public:
    ~CQuilletProcess();

    // Quillet.exe beside the test binary, with the given argument text.
    bool Start(const std::wstring& arguments);
    // The first visible top-level window of the process that matches, or null after the timeout.
    HWND WaitForWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs = 30000) const;
    std::vector<HWND> VisibleWindows() const;
    // True once the process has ended; its exit code then is in exitCode.
    bool WaitForExit(DWORD& exitCode, DWORD timeoutMs = 30000);

    static std::wstring ClassName(HWND window);
    // WM_GETTEXT, which the system carries across processes.
    static std::wstring Text(HWND window);
    static bool IsDialog(HWND window) { return ClassName(window) == L"#32770"; }

private:
    CHandle m_process;
    DWORD m_processId = 0;
};
