#include "QltcProgram.h"

#include "CConvertJob.h"

#include <algorithm>
#include <thread>

namespace {

constexpr const wchar_t* kVersion = L"2.1.0";
constexpr const wchar_t* kMakerNotice =
    L"Copyright (C) 2026 Varnel Software, https://www.varnel.example";

// Fifteen writes, one per piece, in this order.
constexpr const wchar_t* kUsage[] = {
    L"\n",
    L"Usage:\nQLTC -format <format> [-filter <filter>] [<options>...] [<files/folders>...]\n",
    L"\n<format>\n",
    L"  crlf: Convert to CRLF format, for Windows/DOS.\n",
    L"  cr:   Convert to CR format, for iOS/macOS/watchOS.\n",
    L"  lf:   Convert to LF format, for Android/Linux/Unix.\n",
    L"\n<filter>\n",
    L"  File filter string, example: \"*.h;*.cpp\" .\n",
    L"\n<options>\n",
    L"  -ss:  Scan subfolders.\n",
    L"  -kt:  Keep original file timestamps.\n",
    L"  -ka:  Keep original file attributes.\n",
    L"  -cr:  Force conversion of read-only files.\n",
    L"  -bo:  Backup original files, save as <original name>.bak.\n",
    L"\n",
};

void PrintBanner(IConsoleOutput& out)
{
    out.Write(std::wstring(L"\nQuillet ") + kVersion + L". " + kMakerNotice + L".\n");
}

}  // namespace

int RunQltc(const std::vector<std::wstring>& args, IConsoleOutput& out, qlfs::IFileSystem& fs, unsigned workers)
{
    PrintBanner(out);
    if (args.empty()) {
        for (const wchar_t* piece : kUsage)
            out.Write(piece);
        return QLTC_EXIT_OK;
    }
    CConvertJob job(out, fs);
    job.SetWorkers(workers);
    job.ParseCommandLine(args);
    return job.Run();
}

void PrintInitializationFailure(IConsoleOutput& out)
{
    out.Write(L"Fatal Error: initialization failed");
}
