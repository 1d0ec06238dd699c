#pragma once
// Finds the program the menu commands start.
#include "IRegistryReader.h"
#include "Selection.h"

#include <optional>
#include <string>

namespace qlshell {

constexpr const wchar_t* kAppFolderValue = L"AppFolder";
constexpr const wchar_t* kProgramFileName = L"Quillet.exe";

// "AppFolder" + "\" + "Quillet.exe", when "AppFolder" is an acceptable string
// of at most 510 characters (the current user's value; when that is missing,
// the same value under HKEY_LOCAL_MACHINE), the joined path is fully qualified ("X:\..." or
// "\\server\...") and `fileExists` (PathFileExistsW) confirms it. The folder is
// used unchanged: a trailing backslash gives a doubled separator. No other
// place is searched; nullopt means nothing may be started.
std::optional<std::wstring> FindProgramPath(IRegistryReader& registry, const PathTest& fileExists);

}  // namespace qlshell
