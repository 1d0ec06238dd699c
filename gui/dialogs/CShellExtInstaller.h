#pragma once
// Classes: CShellExtInstaller, which installs and removes the Explorer
// extension QLTC_WS.dll by starting the system's regsvr32 on it (hidden, not
// waited for), and tells whether it is installed from its two handler keys.
// GetProgramFolder finds the folder that holds the program files.
#include <functional>
#include <string>

class CShellExtInstaller {
public:
    static constexpr wchar_t kDllName[] = L"QLTC_WS.dll";
    static constexpr wchar_t kFileHandlerKey[] = L"*\\ShellEx\\ContextMenuHandlers\\Varnel.Quillet";
    static constexpr wchar_t kFolderHandlerKey[] = L"Folder\\ShellEx\\ContextMenuHandlers\\Varnel.Quillet";

    CShellExtInstaller() = default;

    // How many of the two handler keys HKEY_CLASSES_ROOT shows (0, 1 or 2);
    // any other count than 0 means installed. HKEY_CLASSES_ROOT merges the
    // user's classes with the machine's, so both kinds of registration count.
    int IsInstalled() const;
    // Start regsvr32 on the DLL in the program folder: true when it was
    // started, false when there is no DLL there. Without elevation the DLL's
    // per-user registration is used (see RegistrationParameters).
    bool Install() const;
    bool Uninstall() const;

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
