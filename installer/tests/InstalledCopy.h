#pragma once
// Helpers of the installer tests: running the setup program and the
// uninstaller it leaves behind, and reading what an installed copy left.
#include <windows.h>

#include <functional>
#include <string>

namespace qltest {

constexpr wchar_t kAppKey[] = L"Software\\Varnel\\Quillet";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillet";

// The setup program the build made: <build>\dist\Quillet-<version>-setup.exe.
std::wstring SetupPath();
bool PathExists(const std::wstring& path);

// Runs the setup silently: /S, the switches, and /D=<folder> last. Returns its exit code.
int RunSetup(const std::wstring& switches, const std::wstring& folder);
// Runs <folder>\Uninstall.exe /S with the switches. It copies itself away and
// returns at once; this waits until the folder, which it removes last, is gone.
bool RunUninstaller(const std::wstring& folder, const std::wstring& switches);

// Runs the uninstall entry's QuietUninstallString as a setup tool does, and
// waits for it: the uninstaller's own exit status (-1: no entry).
int RunQuietUninstall(HKEY root);

// For its lifetime, child processes count themselves as run by a standard
// user (QUILLET_TEST_STANDARD_USER): Wine reports every process as elevated.
class CStandardUserSeam {
public:
    CStandardUserSeam();
    ~CStandardUserSeam();
    CStandardUserSeam(const CStandardUserSeam&) = delete;
    CStandardUserSeam& operator=(const CStandardUserSeam&) = delete;
};

// Starts <folder>\Quillet.exe, opens Options > Settings, sets the Explorer
// extension's box, presses OK and closes the program, as a person would.
// False when a window did not come or go in time.
bool SetExtensionInSettings(const std::wstring& folder, bool ticked);

// The application manifest embedded in a program file ("" when none).
std::string ManifestOf(const std::wstring& path);

// The Start menu's Programs folder of the current user or of all users.
std::wstring ProgramsFolder(bool allUsers);
DWORD ReadDword(HKEY root, const std::wstring& path, const std::wstring& name);

} // namespace qltest
