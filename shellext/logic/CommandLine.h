#pragma once
// Quoting and splitting of Windows command lines by the rules of
// CommandLineToArgvW, which the program uses to read its arguments back:
//   - arguments are separated by blanks and tabs outside double quotes;
//   - 2n backslashes before a double quote give n backslashes, and the quote
//     opens or closes a quoted part;
//   - 2n+1 backslashes before a double quote give n backslashes and a literal quote;
//   - backslashes anywhere else are literal;
//   - inside quotes, two quotes in a row give one literal quote and end the quoted part;
//   - the first argument (the program) ends at the next blank, or at the closing
//     quote when it starts with one; backslashes in it are always literal.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qlshell {

// The longest command line a process can be started with, terminator included
// (CreateProcessW's lpCommandLine limit; ShellExecuteW hands its line to it).
constexpr size_t kMaxProcessCommandLineChars = 32767;

// Appends `argument` in double quotes so that it reads back unchanged: an
// embedded quote becomes \" and the backslashes in front of any quote, the
// closing one included, are doubled. "C:\" becomes "C:\\".
void AppendQuotedArgument(std::wstring& line, std::wstring_view argument);

// Splits a whole command line, program first, as CommandLineToArgvW does.
std::vector<std::wstring> SplitCommandLine(std::wstring_view line);

// Characters of the command line ShellExecuteW makes from a program path and a
// parameter text: the quoted path, a blank, the parameters and the terminator.
size_t ShellCommandLineLength(std::wstring_view programPath, std::wstring_view parameters);

}  // namespace qlshell
