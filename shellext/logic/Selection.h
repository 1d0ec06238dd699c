#pragma once
// The selection the handler was initialised with: full paths in the order the
// data object lists them, and whether at least one of them is a folder.
#include "StringArray.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qlshell {

// Asks the file system about a path (PathIsDirectoryW, PathFileExistsW).
using PathTest = std::function<bool(const std::wstring&)>;

// True for "X:\..." and "X:/..." and for "\\..." (UNC, "\\?\" included); a
// path that would be resolved against the current drive or folder is not.
bool IsFullyQualifiedPath(const std::wstring& path);

class CSelection {
public:
    // Starts a new selection that will hold `count` paths: the old paths go,
    // the list is pre-sized and no folder is selected yet.
    void Begin(uint32_t count);
    // Appends `path` when it is fully qualified. Anything else is left out: the
    // program reads an argument that starts with "-" or "/" as an option, so a
    // bare name such as "-h" or "/ss" from a host other than Explorer would
    // change what the program does, and a relative name would be resolved
    // against whatever folder the program starts in. `isDirectory` is asked
    // only until the first folder has been found, so a large selection costs
    // one test per file at most and none after the first folder.
    void Add(std::wstring_view path, const PathTest& isDirectory);
    // Forgets the paths; the folder flag stays, as the menu built from it does.
    void ClearPaths();

    const CStringArray& Paths() const { return m_paths; }
    bool FolderSelected() const { return m_folderSelected; }

private:
    CStringArray m_paths;
    bool m_folderSelected = false;
};

}  // namespace qlshell
