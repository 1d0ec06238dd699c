#include "ShellChildrenRules.h"

bool ShowsChildrenButton(bool isFolder, bool listsNonFolders, bool isRemovable,
                         const std::function<bool()>& reportsSubfolders)
{
    if (!isFolder)
        return false;
    if (listsNonFolders || isRemovable)
        return true;
    return reportsSubfolders && reportsSubfolders();
}

bool KeepsLoadedChildren(bool enumerated, bool onDrive, bool onFixedDrive)
{
    return !(enumerated && onDrive && !onFixedDrive);
}
