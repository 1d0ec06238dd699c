#pragma once
// The shell tree's rules for a folder's children button and for keeping a
// folder's children once they have been read.
#include <functional>

// Whether an item shows a children button. A removable drive, or a tree that
// lists files too, gets one without asking the shell: asking whether a drive
// has subfolders makes the shell read it, and a floppy or an empty card
// reader then holds the whole tree up. `reportsSubfolders` is called only for
// the other folders.
bool ShowsChildrenButton(bool isFolder, bool listsNonFolders, bool isRemovable,
                         const std::function<bool()>& reportsSubfolders);

// Whether a read folder keeps what was found. A folder on a drive that is not
// fixed (removable, optical, network) is read again on its next expansion
// when it was found empty, because the medium may not have been there yet; so
// it is false there whenever the enumeration itself succeeded.
bool KeepsLoadedChildren(bool enumerated, bool onDrive, bool onFixedDrive);
