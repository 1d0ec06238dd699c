#include "CommandLine.h"

namespace qlshell {
namespace {

constexpr wchar_t kQuote = L'"';
constexpr wchar_t kBackslash = L'\\';

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The program name: up to the next blank, or between quotes when it starts
// with one. Returns the position after it.
size_t ReadProgramName(std::wstring_view line, std::wstring& name) {
    size_t at = 0;
    if (!line.empty() && line[0] == kQuote) {
        size_t end = line.find(kQuote, 1);
        if (end == std::wstring_view::npos) end = line.size();
        name.assign(line.substr(1, end - 1));
        return end < line.size() ? end + 1 : end;
    }
    while (at < line.size() && !IsBlank(line[at])) ++at;
    name.assign(line.substr(0, at));
    return at;
}

// One argument after the program name, starting at a non-blank character.
// Inside quotes, a second quote right after a closing one is a literal quote.
size_t ReadArgument(std::wstring_view line, size_t at, std::wstring& argument) {
    bool quoted = false;
    while (at < line.size() && (quoted || !IsBlank(line[at]))) {
        if (line[at] == kBackslash) {
            size_t slashes = 0;
            while (at < line.size() && line[at] == kBackslash) ++slashes, ++at;
            if (at < line.size() && line[at] == kQuote) {
                argument.append(slashes / 2, kBackslash);
                if (slashes % 2 == 1) {
                    argument.push_back(kQuote);
                    ++at;
                }
            } else {
                argument.append(slashes, kBackslash);
            }
        } else if (line[at] == kQuote) {
            ++at;
            if (quoted && at < line.size() && line[at] == kQuote) {
                argument.push_back(kQuote);
                ++at;
            }
            quoted = !quoted;
        } else {
            argument.push_back(line[at++]);
        }
    }
    return at;
}

}  // namespace

void AppendQuotedArgument(std::wstring& line, std::wstring_view argument) {
    line.push_back(kQuote);
    size_t slashes = 0;
    for (wchar_t c : argument) {
        if (c == kBackslash) {
            ++slashes;
            continue;
        }
        if (c == kQuote) {
            // These backslashes now stand before a quote: double them, and one
            // more makes the quote literal.
            line.append(2 * slashes + 1, kBackslash);
        } else {
            line.append(slashes, kBackslash);
        }
        slashes = 0;
        line.push_back(c);
    }
    // Backslashes before the closing quote must not escape it.
    line.append(2 * slashes, kBackslash);
    line.push_back(kQuote);
}

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    std::vector<std::wstring> arguments(1);
    size_t at = ReadProgramName(line, arguments[0]);
    for (;;) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at >= line.size()) break;
        arguments.emplace_back();
        at = ReadArgument(line, at, arguments.back());
    }
    return arguments;
}

size_t ShellCommandLineLength(std::wstring_view programPath, std::wstring_view parameters) {
    return 1 + programPath.size() + 1 + 1 + parameters.size() + 1;
}

}  // namespace qlshell
