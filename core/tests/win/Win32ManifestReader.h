#pragma once
// Reads a program's manifest the way the system does: through an activation
// context made from the program file's manifest resource.
#include <windows.h>

#include <memory>
#include <set>
#include <string>

struct CActCtxRelease {
    void operator()(HANDLE context) const { ::ReleaseActCtx(context); }
};
using CActCtx = std::unique_ptr<void, CActCtxRelease>;

// Null when the program has no manifest that the system accepts.
CActCtx ProgramManifestContext(const std::wstring& program);

// A windowsSettings value of the 2016 namespace ("longPathAware",
// "dpiAwareness"); empty when the manifest does not set it.
std::wstring ManifestWindowsSetting(HANDLE context, const wchar_t* name);

// The supportedOS GUIDs, upper-case in braces.
std::set<std::wstring> ManifestSupportedSystems(HANDLE context);
