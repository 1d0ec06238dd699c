#include "PosixAttributes.h"

#include <sys/stat.h>

#include "PosixFileSystem.h"

namespace qlfs {

uint32_t AttributesFromMode(mode_t mode)
{
    uint32_t attributes = kAttrPosixMode | ((uint32_t(mode) & kAttrPosixModeMask) << kAttrPosixModeShift);
    if (!(mode & S_IWUSR))
        attributes |= kAttrReadOnly;
    if (S_ISDIR(mode))
        attributes |= kAttrDirectory;
    if (!(attributes & (kAttrReadOnly | kAttrDirectory)))
        attributes |= kAttrNormal;  // as Windows reports a file with no other attribute
    return attributes;
}

mode_t ModeFromAttributes(uint32_t attributes, mode_t currentMode)
{
    mode_t mode = (attributes & kAttrPosixMode) ? mode_t((attributes >> kAttrPosixModeShift) & kAttrPosixModeMask)
                                                : mode_t(currentMode & kAttrPosixModeMask);
    // The read-only bit decides owner-write; 0 therefore makes the file writable.
    if (attributes & kAttrReadOnly)
        mode &= ~mode_t(S_IWUSR);
    else
        mode |= S_IWUSR;
    return mode;
}

}  // namespace qlfs
