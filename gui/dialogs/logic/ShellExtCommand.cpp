#include "ShellExtCommand.h"

std::wstring ChooseProgramFolder(const std::wstring& userAppFolder, const std::wstring& machineAppFolder,
                                 const std::wstring& runningProgramFolder)
{
    if (!userAppFolder.empty())
        return userAppFolder;
    if (!machineAppFolder.empty())
        return machineAppFolder;
    return runningProgramFolder;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& file)
{
    bool separated = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
    return separated ? folder + file : folder + L"\\" + file;
}

std::wstring RegistrationParameters(bool install, bool elevated, const std::wstring& dllPath)
{
    std::wstring parameters = install ? L"/s" : L"/u /s";
    if (!elevated)
        parameters += L" /n /i:user";
    return parameters + L" \"" + dllPath + L"\"";
}
