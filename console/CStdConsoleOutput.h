#pragma once
// Standard output for QLTC. On Windows a console gets the wide text as it is
// and a pipe or file gets it in the ANSI code page (characters the code page
// lacks become "?") with each "\n" written as "\r\n". On POSIX the
// text is written in the user's locale; names the locale cannot decode come out
// as their original bytes.
#include "IConsoleOutput.h"

class CStdConsoleOutput final : public IConsoleOutput {
public:
    CStdConsoleOutput();
    ~CStdConsoleOutput() override;
    CStdConsoleOutput(const CStdConsoleOutput&) = delete;
    CStdConsoleOutput& operator=(const CStdConsoleOutput&) = delete;

    void Write(std::wstring_view text) override;

private:
    bool m_interactive = false;  // a terminal or console: show unfinished lines at once
};
