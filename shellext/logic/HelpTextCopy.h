#pragma once
// Copying a help text into the caller's buffer for GCS_HELPTEXTW and GCS_HELPTEXTA.
//
// Split between logic and glue: the logic decides what is copied and where it
// is cut; the glue supplies only the conversion to the thread's ANSI code page
// (WideCharToMultiByte with CP_THREAD_ACP), as an AnsiConverter. The logic never
// cuts a character in half: not a surrogate pair in the wide text, and not a
// multi-byte character in the ANSI text (it converts a shorter prefix instead).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qlshell {

// Converts wide text to ANSI bytes (no terminator); nullopt when it fails.
using AnsiConverter = std::function<std::optional<std::string>(std::wstring_view)>;

// Writes at most cchMax - 1 characters of `text` and a terminator; cchMax 0 writes nothing.
void CopyHelpTextW(std::wstring_view text, wchar_t* buffer, uint32_t cchMax);

// Writes at most cchMax - 1 bytes of `text` converted by `toAnsi`, and a
// terminator; a failed conversion writes the empty text; cchMax 0 writes nothing.
void CopyHelpTextA(std::wstring_view text, char* buffer, uint32_t cchMax, const AnsiConverter& toAnsi);

}  // namespace qlshell
