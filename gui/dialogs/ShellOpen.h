#pragma once
// Functions: ShellOpen, the one way the program hands a file, an address or a
// program to the shell (ShellExecuteW): the Help commands, the About box's
// link and the start of regsvr32 all go through it, so a test can put its own
// function in place and record what would have been opened.
#include <windows.h>

#include <functional>
#include <string>

struct ShellOpenRequest {
    HWND owner = nullptr;
    std::wstring verb;  // empty: the default verb
    std::wstring file;
    std::wstring parameters;
    int show = SW_SHOWNORMAL;
    // Waits (serving sent messages, at most kLongestWaitMs) until the started
    // program has ended.
    bool wait = false;
    static constexpr DWORD kLongestWaitMs = 60000;
};

// Opens through the shell (or the replacement). The shell's answer is not
// examined by any caller, so none is returned.
void ShellOpen(const ShellOpenRequest& request);
// The shell itself, past any replacement (for replacements that also run it).
void ShellOpenWithSystem(const ShellOpenRequest& request);

using ShellOpenFunction = std::function<void(const ShellOpenRequest&)>;
// Puts `function` in place of ShellExecuteW (an empty one restores it) and
// returns the one it replaces.
ShellOpenFunction SetShellOpenFunction(ShellOpenFunction function);
