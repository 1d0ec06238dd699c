#pragma once
// Classes: CShellExtInstaller, which installs and removes the Explorer
// extension QLTC_WS.dll by starting the system's regsvr32 on it (hidden, and
// waited for), and tells whether it is installed from its two handler keys.
// The registration follows how the copy was installed: per machine only for
// the folder that a per-machine setup recorded under HKEY_LOCAL_MACHINE,
// per user for everything else. GetProgramFolder finds the folder that holds
// the program files.
#include "ShellExtCommand.h"

#include <functional>
#include <string>

class CShellExtInstaller {
public:
    static constexpr wchar_t kDllName[] = L"QLTC_WS.dll";
    static constexpr wchar_t kFileHandlerKey[] = L"*\\ShellEx\\ContextMenuHandlers\\Varnel.Quillet";
    static constexpr wchar_t kFolderHandlerKey[] = L"Folder\\ShellEx\\ContextMenuHandlers\\Varnel.Quillet";
    // Set (to anything) only by tests: the process then counts as not
    // elevated, which elevation cannot be shown to be under Wine. It can only
    // take rights away: with it, the program asks for elevation where it would
    // otherwise have acted.
    static constexpr wchar_t kStandardUserSeam[] = L"QUILLET_TEST_STANDARD_USER";

    CShellExtInstaller() = default;

    // How many of the two handler keys exist (0, 1 or 2), looked for in the
    // user's and in the machine's classes directly (Wine does not merge them
    // into HKEY_CLASSES_ROOT); any other count than 0 means installed.
    int IsInstalled() const;
    // Registers (or removes) through regsvr32 on the DLL in the program
    // folder: true when there was a DLL to run it on. Install registers in
    // the install's scope; Uninstall removes the registration from every
    // scope that holds one. Machine-wide steps ask for elevation (runas) when
    // the process lacks it.
    bool Install() const;
    bool Uninstall() const;

    // The scope of the copy in the program folder (see InstallScope).
    static RegistrationScope ScopeOfInstall();
    // Whether the handler keys are in that scope's classes.
    static bool IsRegisteredIn(RegistrationScope scope);

    // Puts `check` in place of the process token's elevation (an empty one
    // restores it); elevation cannot be observed under Wine.
    static void SetElevationCheck(std::function<bool()> check);
    static bool IsElevated();

private:
    bool Register(bool install) const;

    std::wstring m_dllName = kDllName;
};

// The program folder: "AppFolder" under HKEY_CURRENT_USER\Software\Varnel\Quillet,
// else the same value under HKEY_LOCAL_MACHINE (an installer for all users
// writes it there), else the folder of the running program ("" when its path
// has no folder part).
std::wstring GetProgramFolder();
