#include "COEFileDialog.h"

namespace {
size_t BufferCharsFor(DWORD flags)
{
    return (flags & OFN_ALLOWMULTISELECT) ? COEFileDialog::kSelectionBufferChars : CFileDialog::kDefaultBufferChars;
}

bool IsNt5OrLater()
{
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&version))
        return true;
#pragma GCC diagnostic pop
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4;
}
}

COEFileDialog::COEFileDialog(bool open, const wchar_t* defaultExt, const wchar_t* fileName, DWORD flags,
                             const wchar_t* filter, HWND parent)
    : CFileDialog(open, defaultExt, fileName, flags, filter, parent, BufferCharsFor(flags))
{
    Ofn().lStructSize = StructSize();
    // One character stays free behind what the system may fill, so that the
    // list of names always ends in a terminator of ours.
    if (flags & OFN_ALLOWMULTISELECT)
        Ofn().nMaxFile = static_cast<DWORD>(kSelectionBufferChars - 1);
}

DWORD COEFileDialog::StructSize()
{
    // The sizes of this build's structures: on x64 the full structure is 152
    // bytes and the old one 136 (88 and 76 in a 32-bit build).
    return IsNt5OrLater() ? sizeof(OPENFILENAMEW) : OPENFILENAME_SIZE_VERSION_400W;
}
