#include "CShellExtInstaller.h"

#include "CRegKey.h"
#include "CUniqueHandle.h"
#include "ShellExtCommand.h"
#include "ShellOpen.h"

#include <shlwapi.h>

#include <vector>

namespace {
const wchar_t kProgramKey[] = L"Software\\Varnel\\Quillet";
const wchar_t kAppFolder[] = L"AppFolder";
// The longest program file name taken, in characters.
constexpr DWORD kLongestModulePath = 1023;

std::function<bool()>& ElevationCheck()
{
    static std::function<bool()> check;
    return check;
}

bool TokenIsElevated()
{
    if (::GetEnvironmentVariableW(CShellExtInstaller::kStandardUserSeam, nullptr, 0) != 0)
        return false;
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw))
        return false;
    CHandle token(raw);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!::GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof(elevation), &size))
        return false;
    return elevation.TokenIsElevated != 0;
}

std::wstring ProgramValueOf(HKEY root, const wchar_t* name)
{
    CRegKey key;
    if (key.Open(root, kProgramKey, KEY_READ) != ERROR_SUCCESS)
        return {};
    return key.QueryString(name).value_or(std::wstring());
}

std::wstring AppFolderOf(HKEY root)
{
    return ProgramValueOf(root, kAppFolder);
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    CRegKey key;
    return key.Open(root, path, KEY_READ) == ERROR_SUCCESS;
}

HKEY HiveOf(RegistrationScope scope)
{
    return scope == RegistrationScope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

const wchar_t* const kHandlerKeys[] = {CShellExtInstaller::kFileHandlerKey, CShellExtInstaller::kFolderHandlerKey};
const std::wstring kClasses = L"Software\\Classes\\";

std::wstring RunningProgramFolder()
{
    std::vector<wchar_t> path(kLongestModulePath + 1, L'\0');
    DWORD length = ::GetModuleFileNameW(nullptr, path.data(), kLongestModulePath);
    if (length == 0 || length >= kLongestModulePath)
        return {};
    // A name without a folder part leaves nothing.
    if (!::PathRemoveFileSpecW(path.data()))
        return {};
    return path.data();
}
}

int CShellExtInstaller::IsInstalled() const
{
    int count = 0;
    for (const wchar_t* path : kHandlerKeys) {
        if (KeyExists(HKEY_CURRENT_USER, kClasses + path) || KeyExists(HKEY_LOCAL_MACHINE, kClasses + path))
            ++count;
    }
    return count;
}

bool CShellExtInstaller::IsRegisteredIn(RegistrationScope scope)
{
    for (const wchar_t* path : kHandlerKeys) {
        if (KeyExists(HiveOf(scope), kClasses + path))
            return true;
    }
    return false;
}

RegistrationScope CShellExtInstaller::ScopeOfInstall()
{
    return InstallScope(ProgramValueOf(HKEY_LOCAL_MACHINE, kInstallModeValue), AppFolderOf(HKEY_LOCAL_MACHINE),
                        GetProgramFolder());
}

bool CShellExtInstaller::Install() const
{
    return Register(true);
}

bool CShellExtInstaller::Uninstall() const
{
    return Register(false);
}

bool CShellExtInstaller::Register(bool install) const
{
    std::wstring dll = JoinPath(GetProgramFolder(), m_dllName);
    if (!::PathFileExistsW(dll.c_str()))
        return false;
    const auto steps = PlanRegistration(install, ScopeOfInstall(), IsRegisteredIn(RegistrationScope::User),
                                        IsRegisteredIn(RegistrationScope::Machine), IsElevated());
    // One at a time and waited for, so that the registry shows the outcome
    // when the dialog has closed.
    for (const RegistrationStep& step : steps) {
        ShellOpen({nullptr, step.elevate ? L"runas" : L"", L"regsvr32.exe",
                   RegistrationParameters(step.install, step.scope, dll), SW_HIDE, true});
    }
    return true;
}

void CShellExtInstaller::SetElevationCheck(std::function<bool()> check)
{
    ElevationCheck() = std::move(check);
}

bool CShellExtInstaller::IsElevated()
{
    return ElevationCheck() ? ElevationCheck()() : TokenIsElevated();
}

std::wstring GetProgramFolder()
{
    std::wstring user = AppFolderOf(HKEY_CURRENT_USER);
    std::wstring machine = user.empty() ? AppFolderOf(HKEY_LOCAL_MACHINE) : std::wstring();
    if (!user.empty() || !machine.empty())
        return ChooseProgramFolder(user, machine, {});
    return RunningProgramFolder();
}
