#pragma once
// The parameter text the program is started with for one menu command.
#include "StringArray.h"

#include <optional>
#include <string>

namespace qlshell {

// Target format of a command, as the program's "-format" word names it.
constexpr int kFormatNone = -1;
constexpr int kFormatCrlf = 0;
constexpr int kFormatCr = 1;
constexpr int kFormatLf = 2;

// What one menu command asks the program to do.
struct CCommandAction {
    int format = kFormatNone;           // kFormatNone: the user picks it in the program
    std::optional<std::wstring> filter;  // for the selected folders; none: the program asks
};

// Builds, in this order: " -format <word>" (with a format), " -filter <filter>"
// (with a filter), each path as " <path>", " -ss" (when Ctrl is held at the
// moment of the command), " -ka -cr", and " -as -ac" (with a format). The filter
// and every path are quoted with AppendQuotedArgument, so the program reads each
// back as exactly one argument. The text always starts with a blank.
std::wstring BuildParameters(const CCommandAction& action, const CStringArray& paths, bool ctrlDown);

// "crlf", "cr" or "lf"; empty for kFormatNone.
const wchar_t* FormatWord(int format);

}  // namespace qlshell
