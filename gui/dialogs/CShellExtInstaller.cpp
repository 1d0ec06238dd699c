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

std::wstring AppFolderOf(HKEY root)
{
    CRegKey key;
    if (key.Open(root, kProgramKey, KEY_READ) != ERROR_SUCCESS)
        return {};
    return key.QueryString(kAppFolder).value_or(std::wstring());
}

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
    for (const wchar_t* path : {kFileHandlerKey, kFolderHandlerKey}) {
        CRegKey key;
        if (key.Open(HKEY_CLASSES_ROOT, path, KEY_READ) == ERROR_SUCCESS)
            ++count;
    }
    return count;
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
    ShellOpen({nullptr, {}, L"regsvr32.exe", RegistrationParameters(install, IsElevated(), dll), SW_HIDE});
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
