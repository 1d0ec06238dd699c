#pragma once
// Where QLTC's texts go: standard output in the program, a capture in tests.
#include <string_view>

class IConsoleOutput {
public:
    virtual ~IConsoleOutput() = default;
    // Writes one text exactly as given; "\n" is a line break, "\r" returns to the
    // start of the current line.
    virtual void Write(std::wstring_view text) = 0;
};
