#include "InstalledCopy.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "TestSupport.h"

#include <string>

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

int RunQuietUninstall(HKEY root) {
    const std::wstring command = ReadString(root, kUninstallKey, L"QuietUninstallString");
    return command == L"<none>" ? -1 : RunAndWait(command);
}

CStandardUserSeam::CStandardUserSeam() { SetEnvironmentVariableW(L"QUILLET_TEST_STANDARD_USER", L"1"); }
CStandardUserSeam::~CStandardUserSeam() { SetEnvironmentVariableW(L"QUILLET_TEST_STANDARD_USER", nullptr); }

namespace {

constexpr UINT kSettingsCommand = 32777;
constexpr int kExtensionBox = 1016;

struct WindowSearch {
    DWORD process;
    std::wstring title;
    HWND found;
};

// A visible top-level window of `process` whose title starts with `title`.
HWND FindWindowOf(DWORD process, const std::wstring& title) {
    WindowSearch search{process, title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* search = reinterpret_cast<WindowSearch*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            if (owner != search->process || !IsWindowVisible(window) ||
                std::wstring(text).rfind(search->title, 0) != 0)
                return TRUE;
            search->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

bool SetExtensionInSettings(const std::wstring& folder, bool ticked) {
    std::wstring command = L"\"" + folder + L"\\Quillet.exe\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    HWND main = nullptr;
    HWND settings = nullptr;
    bool done = WaitFor([&] { return (main = FindWindowOf(info.dwProcessId, L"Quillet")) != nullptr; });
    if (done) {
        PostMessageW(main, WM_COMMAND, kSettingsCommand, 0);
        done = WaitFor([&] { return (settings = FindWindowOf(info.dwProcessId, L"Settings")) != nullptr; });
    }
    if (done) {
        SendDlgItemMessageW(settings, kExtensionBox, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
        // OK runs regsvr32 and waits for it; the dialog is gone when it is done.
        PostMessageW(settings, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(settings, IDOK));
        done = WaitFor([&] { return !IsWindow(settings); });
    }
    if (main != nullptr)
        PostMessageW(main, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return done && ended;
}

std::string ManifestOf(const std::wstring& path) {
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr)
        return {};
    std::string text;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
        if (bytes != nullptr)
            text.assign(bytes, SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
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
