#include "TestSupport.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "QLTC_WS_h.h"

namespace qltest {
namespace {

const wchar_t kAppKey[] = L"Software\\Varnel\\Quillet";

} // namespace

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    PathRemoveFileSpecW(path);
    return std::wstring(path) + L"\\";
}

std::wstring ServerPath() { return ProgramFolder() + L"QLTC_WS.dll"; }

std::wstring StubFolder() {
    wchar_t path[MAX_PATH] = {};
    PathCanonicalizeW(path, (ProgramFolder() + QL_STUB_RELATIVE_DIR).c_str());
    return path;
}

int RunAndWait(const std::wstring& commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

CScratchFolder::CScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"qlws-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(GetTickCount());
    CreateDirectoryW(m_path.c_str(), nullptr);
}

CScratchFolder::~CScratchFolder() {
    std::wstring from = m_path;
    from.push_back(L'\0'); // SHFileOperationW takes a double-terminated list
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationW(&operation);
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool QuilletRunning() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        found = _wcsicmp(entry.szExeFile, L"Quillet.exe") == 0;
    CloseHandle(snapshot);
    return found;
}

std::wstring CScratchFolder::AddFile(const std::wstring& name) const {
    const std::wstring path = m_path + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, file) << path.size();
    CloseHandle(file);
    return path;
}

std::wstring CScratchFolder::AddFolder(const std::wstring& name) const {
    const std::wstring path = m_path + L"\\" + name;
    EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    return path;
}

bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::wstring ReadString(HKEY root, const std::wstring& path, const std::wstring& name) {
    wchar_t data[2048] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegGetValueW(root, path.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                     data, &size) != ERROR_SUCCESS)
        return L"<none>";
    return type == REG_SZ || type == REG_EXPAND_SZ ? std::wstring(data) : L"<type " + std::to_wstring(type) + L">";
}

namespace {

void DumpKey(HKEY root, const std::wstring& path, std::wstring& out) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    out += L"[" + path + L"]\n";
    std::vector<std::wstring> values;
    std::vector<std::wstring> subkeys;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = ARRAYSIZE(name);
        if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        values.push_back(std::wstring(name) + L"=" + ReadString(root, path, name));
    }
    for (DWORD i = 0;; ++i) {
        DWORD length = ARRAYSIZE(name);
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    RegCloseKey(key);
    std::sort(values.begin(), values.end());
    std::sort(subkeys.begin(), subkeys.end());
    for (const std::wstring& value : values)
        out += L"  " + value + L"\n";
    for (const std::wstring& subkey : subkeys)
        DumpKey(root, path + L"\\" + subkey, out);
}

} // namespace

std::wstring DumpTree(HKEY root, const std::wstring& path) {
    std::wstring out;
    DumpKey(root, path, out);
    return out;
}

void DeleteTree(HKEY root, const std::wstring& path) { RegDeleteTreeW(root, path.c_str()); }

void WriteString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value,
                 DWORD type) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(root, path.c_str(), name.c_str(), type, value.c_str(),
                                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}

void WriteDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(root, path.c_str(), name.c_str(), REG_DWORD, &value, sizeof(value)));
}

// Test processes that change the program's key (these and the GUI's start-up
// tests) take turns through one named mutex.
static HANDLE AppKeyLock() {
    static HANDLE lock = CreateMutexW(nullptr, FALSE, L"Local\\QuilletRegistryTests");
    return lock;
}

CAppKeyScope::CAppKeyScope(HKEY root, const std::wstring& path)
    : m_root(root), m_path(path), m_backup(path + L".test-backup"),
      m_locked(root == HKEY_CURRENT_USER && _wcsicmp(path.c_str(), kAppKey) == 0) {
    if (m_locked)
        WaitForSingleObject(AppKeyLock(), 300000);
    DeleteTree(m_root, m_backup);
    if (KeyExists(m_root, m_path)) {
        HKEY backup = nullptr;
        RegCreateKeyExW(m_root, m_backup.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &backup, nullptr);
        RegCopyTreeW(m_root, m_path.c_str(), backup);
        RegCloseKey(backup);
        DeleteTree(m_root, m_path);
    }
}

CAppKeyScope::~CAppKeyScope() {
    DeleteTree(m_root, m_path);
    if (KeyExists(m_root, m_backup)) {
        HKEY original = nullptr;
        RegCreateKeyExW(m_root, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &original, nullptr);
        RegCopyTreeW(m_root, m_backup.c_str(), original);
        RegCloseKey(original);
        DeleteTree(m_root, m_backup);
    } else if (_wcsicmp(m_path.c_str(), kAppKey) == 0) {
        RegDeleteKeyW(m_root, L"Software\\Varnel"); // only when nothing else is left in it
    }
    if (m_locked)
        ReleaseMutex(AppKeyLock());
}

CServerDll::CServerDll() : m_module(LoadLibraryW(ServerPath().c_str())) {
    EXPECT_NE(nullptr, m_module) << "cannot load QLTC_WS.dll";
}

CServerDll::~CServerDll() {
    if (m_module != nullptr)
        FreeLibrary(m_module);
}

HRESULT CServerDll::GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) const {
    using Function = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_module, "DllGetClassObject")));
    return function ? function(clsid, riid, ppv) : E_FAIL;
}

HRESULT CServerDll::CanUnloadNow() const {
    using Function = HRESULT(WINAPI*)();
    auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_module, "DllCanUnloadNow")));
    return function ? function() : E_FAIL;
}

HRESULT CServerDll::CreateHandler(REFIID riid, void** ppv) const {
    IClassFactory* factory = nullptr;
    HRESULT hr = GetClassObject(CLSID_MyContextMenu, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    hr = factory->CreateInstance(nullptr, riid, ppv);
    factory->Release();
    return hr;
}

} // namespace qltest
