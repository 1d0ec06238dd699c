#include "CStdConsoleOutput.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>

namespace {

HANDLE StdOutHandle() { return GetStdHandle(STD_OUTPUT_HANDLE); }

bool IsConsole(HANDLE handle)
{
    DWORD mode;
    return handle && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

// The C runtime's own wide output stops at the first character the code page
// lacks; converting here with "?" as the stand-in keeps the rest of the line.
std::string ToAnsiCodePage(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size_t(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), bytes.data(), size, nullptr,
                            nullptr);
    return bytes;
}

std::string WithCrLf(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size() + 8);
    for (char c : bytes) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

CStdConsoleOutput::CStdConsoleOutput() : m_interactive(IsConsole(StdOutHandle())) {}

CStdConsoleOutput::~CStdConsoleOutput() { std::fflush(stdout); }

void CStdConsoleOutput::Write(std::wstring_view text)
{
    if (m_interactive) {
        DWORD written;
        WriteConsoleW(StdOutHandle(), text.data(), DWORD(text.size()), &written, nullptr);
        return;
    }
    // Written straight to the handle: the C runtime's text-mode stream asks
    // the console driver about the handle for every piece it writes, and under
    // Wine each question is a round trip to the server - about a hundred per
    // converted file. The runtime's "\n" -> "\r\n" is done here instead.
    const HANDLE handle = StdOutHandle();
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return;
    const std::string bytes = WithCrLf(ToAnsiCodePage(text));
    DWORD written;
    WriteFile(handle, bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

#else
#include <unistd.h>

#include "fs/PosixPath.h"

CStdConsoleOutput::CStdConsoleOutput() : m_interactive(isatty(STDOUT_FILENO) == 1) {}

CStdConsoleOutput::~CStdConsoleOutput() { std::fflush(stdout); }

void CStdConsoleOutput::Write(std::wstring_view text)
{
    // The same reversible mapping as for file names, so a name that came from
    // undecodable bytes is written as exactly those bytes.
    const std::string bytes = qlfs::ToNativePath(std::wstring(text));
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    // A line still waiting for its status shows at once on a terminal.
    if (m_interactive && !text.empty() && text.back() != L'\n')
        std::fflush(stdout);
}
#endif
