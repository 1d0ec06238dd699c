#include "ShellExtCommand.h"

#include <cwctype>

std::wstring ChooseProgramFolder(const std::wstring& userAppFolder, const std::wstring& machineAppFolder,
                                 const std::wstring& runningProgramFolder)
{
    if (!userAppFolder.empty())
        return userAppFolder;
    if (!machineAppFolder.empty())
        return machineAppFolder;
    return runningProgramFolder;
}

namespace {
bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

std::wstring FolderKey(const std::wstring& folder)
{
    std::wstring key = folder;
    while (!key.empty() && IsSeparator(key.back()))
        key.pop_back();
    for (wchar_t& c : key)
        c = IsSeparator(c) ? L'\\' : static_cast<wchar_t>(std::towlower(c));
    return key;
}
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& file)
{
    bool separated = !folder.empty() && IsSeparator(folder.back());
    return separated ? folder + file : folder + L"\\" + file;
}

bool SameFolder(const std::wstring& one, const std::wstring& other)
{
    return !FolderKey(one).empty() && FolderKey(one) == FolderKey(other);
}

RegistrationScope InstallScope(const std::wstring& machineInstallMode, const std::wstring& machineAppFolder,
                               const std::wstring& programFolder)
{
    const bool perMachine = machineInstallMode == kPerMachineMode && SameFolder(machineAppFolder, programFolder);
    return perMachine ? RegistrationScope::Machine : RegistrationScope::User;
}

std::vector<RegistrationStep> PlanRegistration(bool wanted, RegistrationScope installScope, bool inUserClasses,
                                               bool inMachineClasses, bool elevated)
{
    auto step = [elevated](RegistrationScope scope, bool install) {
        return RegistrationStep{scope, install, scope == RegistrationScope::Machine && !elevated};
    };
    std::vector<RegistrationStep> steps;
    if (wanted) {
        steps.push_back(step(installScope, true));
        if (installScope == RegistrationScope::Machine && inUserClasses)
            steps.push_back(step(RegistrationScope::User, false));
        return steps;
    }
    if (inUserClasses)
        steps.push_back(step(RegistrationScope::User, false));
    if (inMachineClasses)
        steps.push_back(step(RegistrationScope::Machine, false));
    if (steps.empty() && !step(installScope, false).elevate)
        steps.push_back(step(installScope, false));
    return steps;
}

std::wstring RegistrationParameters(bool install, RegistrationScope scope, const std::wstring& dllPath)
{
    std::wstring parameters = install ? L"/s" : L"/u /s";
    if (scope == RegistrationScope::User)
        parameters += L" /n /i:user";
    return parameters + L" \"" + dllPath + L"\"";
}
