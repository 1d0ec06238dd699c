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
// of at most 510 characters, the joined path is fully qualified ("X:\..." or
// "\\server\...") and `fileExists` (PathFileExistsW) confirms it. The folder is
// used unchanged: a trailing backslash gives a doubled separator. There is no
// other place searched; nullopt means nothing may be started.
std::optional<std::wstring> FindProgramPath(IRegistryReader& registry, const PathTest& fileExists);

// True for "X:\..." and "X:/..." and for "\\..." (UNC); a path that would be
// resolved against the current drive or folder is not.
bool IsFullyQualifiedPath(const std::wstring& path);

}  // namespace qlshell
