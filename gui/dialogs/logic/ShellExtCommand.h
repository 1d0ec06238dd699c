#pragma once
// Functions: the decisions behind installing the Explorer extension: which
// folder holds the program files, where the extension's DLL is, and what
// regsvr32 is told to do with it.
#include <string>

// The program folder: the current user's "AppFolder" when it is set, else the
// machine's, else the running program's folder.
std::wstring ChooseProgramFolder(const std::wstring& userAppFolder, const std::wstring& machineAppFolder,
                                 const std::wstring& runningProgramFolder);

// "<folder>\<file>"; a folder that already ends in a separator gets none more.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& file);

// regsvr32's parameters for the DLL. Machine-wide registration writes
// HKEY_CLASSES_ROOT, which only an elevated process may; a process without
// elevation asks the DLL for its per-user registration (DllInstall with
// "user"), which writes the current user's classes instead.
std::wstring RegistrationParameters(bool install, bool elevated, const std::wstring& dllPath);
