#pragma once
// Records the path arguments with which this program calls the Win32 file
// functions, so a test can see the exact form that reaches Windows. While a
// recorder lives, the program's import-table entries for those functions point
// at stand-ins that note the paths and then call the real function unchanged.
// One recorder at a time.
#include <mutex>
#include <string>
#include <vector>

class CWin32FileCallRecorder {
public:
    struct Call {
        std::string function;
        std::vector<std::wstring> paths;
    };

    CWin32FileCallRecorder();
    ~CWin32FileCallRecorder();
    CWin32FileCallRecorder(const CWin32FileCallRecorder&) = delete;
    CWin32FileCallRecorder& operator=(const CWin32FileCallRecorder&) = delete;

    // How many import entries were redirected; 0 means nothing is recorded.
    size_t RedirectedEntries() const { return m_redirected; }
    std::vector<Call> Calls() const;

private:
    size_t m_redirected = 0;
};
