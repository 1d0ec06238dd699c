#include "InstalledCopy.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "TestSupport.h"

namespace qltest {

std::wstring SetupPath() {
    wchar_t path[MAX_PATH] = {};
    PathCanonicalizeW(path, (ProgramFolder() + L"..\\dist\\" + QL_SETUP_NAME).c_str());
    return path;
}

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > deadline)
            return false;
        Sleep(50);
    }
    return true;
}

int RunSetup(const std::wstring& switches, const std::wstring& folder) {
    // /D= takes the rest of the line, blanks included, and must come last.
    return RunAndWait(L"\"" + SetupPath() + L"\" /S " + switches + L" /D=" + folder);
}

bool RunUninstaller(const std::wstring& folder, const std::wstring& switches) {
    if (RunAndWait(L"\"" + folder + L"\\Uninstall.exe\" /S " + switches) != 0)
        return false;
    return WaitUntil([&] { return !PathExists(folder); }, 60000);
}

std::wstring ProgramsFolder(bool allUsers) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring WaitForTextFile(const std::wstring& path, DWORD timeoutMs) {
    std::wstring text = L"<none>";
    WaitUntil(
        [&] {
            HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE)
                return false;
            text.assign(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
            DWORD read = 0;
            ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
            CloseHandle(file);
            return true;
        },
        timeoutMs);
    return text;
}

DWORD ReadDword(HKEY root, const std::wstring& path, const std::wstring& name) {
    DWORD value = 0xFFFFFFFF;
    DWORD size = sizeof(value);
    RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

} // namespace qltest
