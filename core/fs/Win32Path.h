#pragma once
// The one place where the Win32 backend turns a path into the form that its
// file functions are handed: absolute, and in the "\\?\" form from MAX_PATH
// characters on (see logic/Win32PathForm.h). Names shown to the user keep the
// form that the user gave; only the Win32 calls see this one.
#include <string>

namespace qlfs {

// For every path handed to a Win32 file function.
std::wstring ToWin32Path(const std::wstring& path);

// The absolute, normalised path without the "\\?\" form, resolved against the
// process's current folders.
std::wstring Win32FullPathOf(const std::wstring& path);

}  // namespace qlfs
