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

int RunSetup(const std::wstring& switches, const std::wstring& folder) {
    // /D= takes the rest of the line, blanks included, and must come last.
    return RunAndWait(L"\"" + SetupPath() + L"\" /S " + switches + L" /D=" + folder);
}

bool RunUninstaller(const std::wstring& folder, const std::wstring& switches) {
    if (RunAndWait(L"\"" + folder + L"\\Uninstall.exe\" /S " + switches) != 0)
        return false;
    return WaitFor([&] { return !PathExists(folder); }, 60000);
}

std::wstring ProgramsFolder(bool allUsers) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

DWORD ReadDword(HKEY root, const std::wstring& path, const std::wstring& name) {
    DWORD value = 0xFFFFFFFF;
    DWORD size = sizeof(value);
    RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

} // namespace qltest
