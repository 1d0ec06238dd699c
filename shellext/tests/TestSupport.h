#pragma once
// Helpers of the extension's Wine tests: where the built files are, scratch
// folders, child processes, registry reads, and the server DLL's exports.
#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

namespace qltest {

// Folder of the running test program (the build's bin folder), with a trailing backslash.
std::wstring ProgramFolder();
std::wstring ServerPath();       // QLTC_WS.dll beside the test program
std::wstring StubFolder();       // folder holding the recording Quillet.exe

// Runs a command line and waits for it; returns its exit code, or -1 when it did not start.
int RunAndWait(const std::wstring& commandLine);

// Whole-file bytes, for files that the real program converts.
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);

// True while any process named Quillet.exe runs in this prefix.
bool QuilletRunning();

// Polls `done` every 100 ms until it is true or the time is up; its last answer.
template <class Done>
bool WaitFor(Done done, DWORD timeoutMs = 30000)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        if (done())
            return true;
        ::Sleep(100);
    }
    return done();
}

// A fresh empty folder under the temporary folder, deleted with everything in it.
class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    const std::wstring& Path() const { return m_path; }
    // Creates an empty file (or a folder) inside and returns its full path.
    std::wstring AddFile(const std::wstring& name) const;
    std::wstring AddFolder(const std::wstring& name) const;

private:
    std::wstring m_path;
};

// Registry reads; "<none>" stands for an absent key or value.
bool KeyExists(HKEY root, const std::wstring& path);
std::wstring ReadString(HKEY root, const std::wstring& path, const std::wstring& name = L"");
// Every key and value below `path`, one line each, in a stable order.
std::wstring DumpTree(HKEY root, const std::wstring& path);
void DeleteTree(HKEY root, const std::wstring& path);
void WriteString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value,
                 DWORD type = REG_SZ);
void WriteDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value);

// Moves a key (the current user's Software\Varnel\Quillet by default) aside
// for the life of the object and puts it back afterwards. The program's own
// key of the current user is also held against the other tests that change it.
class CAppKeyScope {
public:
    explicit CAppKeyScope(HKEY root = HKEY_CURRENT_USER, const std::wstring& path = L"Software\\Varnel\\Quillet");
    ~CAppKeyScope();
    CAppKeyScope(const CAppKeyScope&) = delete;
    CAppKeyScope& operator=(const CAppKeyScope&) = delete;

private:
    HKEY m_root;
    std::wstring m_path;
    std::wstring m_backup;
    bool m_locked;
};

// The server DLL loaded with LoadLibraryW, and its exports.
class CServerDll {
public:
    CServerDll();
    ~CServerDll();
    CServerDll(const CServerDll&) = delete;
    CServerDll& operator=(const CServerDll&) = delete;

    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) const;
    HRESULT CanUnloadNow() const;
    // A handler created through the class factory, asked for riid.
    HRESULT CreateHandler(REFIID riid, void** ppv) const;

private:
    HMODULE m_module;
};

} // namespace qltest
