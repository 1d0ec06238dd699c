#pragma once
// The main window's file-list rules: row order, captions, the command states
// and what opening a row starts.
#include "FileItem.h"

#include <string>
#include <string_view>

// The folder part of a path: everything before its last component, without
// the separator, except that a root keeps it ("C:\a" gives "C:\").
std::wstring FolderOfPath(std::wstring_view path);

// The order of two rows for a sort of `column` (0 file name, 1 folder,
// 2 status) in `direction` (1 ascending, -1 descending, 0 unsorted).
// Names compare with A-Z folded to a-z.
int CompareFileItems(const CFileItem& a, const CFileItem& b, int column, int direction);

// Caption of the first column once rows have been added or removed.
std::wstring FileColumnCaption(int rowCount);
// The window caption: "Quillet", or "3/10 - Quillet" while row 2 of 10 converts.
std::wstring RunTitle(int index, int count);

// What the list state allows of a command of the main window; false for
// commands the rules do not decide (the caller then asks elsewhere).
struct FileListState {
    bool running = false;
    int rowCount = 0;
    int selectedCount = 0;
};
bool DecideFileListCommand(unsigned id, const FileListState& state, bool& enabled);

// What Open File hands to ShellExecuteW: the viewer with the quoted path when
// a viewer is set and exists, else the "open" verb on the path itself.
struct ShellRequest {
    std::wstring verb;  // empty: the default verb
    std::wstring file;
    std::wstring parameters;
};
ShellRequest OpenFileRequest(const std::wstring& path, const std::wstring& viewer, bool viewerExists);
// Explorer with the row's file selected; the path is quoted so that a comma
// in it does not end the switch.
ShellRequest OpenFolderRequest(const std::wstring& path);
