#pragma once
// Functions: the decisions behind installing the Explorer extension: which
// folder holds the program files, where the extension's DLL is, in which
// scope (the user's classes or the machine's) it is registered, and what
// regsvr32 is told to do with it.
#include <string>
#include <vector>

// The program folder: the current user's "AppFolder" when it is set, else the
// machine's, else the running program's folder.
std::wstring ChooseProgramFolder(const std::wstring& userAppFolder, const std::wstring& machineAppFolder,
                                 const std::wstring& runningProgramFolder);

// "<folder>\<file>"; a folder that already ends in a separator gets none more.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& file);

// The same folder, without regard to case or a trailing separator.
bool SameFolder(const std::wstring& one, const std::wstring& other);

enum class RegistrationScope { User, Machine };

// "InstallMode" beside "AppFolder", as the setup writes it.
constexpr wchar_t kInstallModeValue[] = L"InstallMode";
constexpr wchar_t kPerMachineMode[] = L"AllUsers";
constexpr wchar_t kPerUserMode[] = L"CurrentUser";

// The scope that the copy in `programFolder` registers in. Machine-wide only
// when the machine's own record (which only an administrator can write) says
// that a per-machine setup put this very folder there; a per-user install, a
// portable copy or any doubt means the user's classes, so that no DLL from a
// folder the user may write to is ever loaded by every user's Explorer.
RegistrationScope InstallScope(const std::wstring& machineInstallMode, const std::wstring& machineAppFolder,
                               const std::wstring& programFolder);

// One run of regsvr32; `elevate` when it needs rights the program lacks.
struct RegistrationStep {
    RegistrationScope scope;
    bool install;
    bool elevate;
};

// What OK in the Settings dialog runs. Ticked: register in the install's
// scope (a per-machine install also drops a per-user registration, which
// would hide its own from this user). Clear: remove the registration from
// every scope that holds one, asking for rights where the machine's needs
// them; with none anywhere, the install's scope is cleaned unless that needs
// rights.
std::vector<RegistrationStep> PlanRegistration(bool wanted, RegistrationScope installScope, bool inUserClasses,
                                               bool inMachineClasses, bool elevated);

// regsvr32's parameters for the DLL; the user's scope is the DLL's per-user
// registration (DllInstall with "user").
std::wstring RegistrationParameters(bool install, RegistrationScope scope, const std::wstring& dllPath);
