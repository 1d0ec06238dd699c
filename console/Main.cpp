// QLTC: converts the line endings of the files and folders named on the
// command line and prints one numbered line per file.
#include <clocale>
#include <string>
#include <vector>

#include "CConvertJob.h"
#include "CStdConsoleOutput.h"
#include "QltcProgram.h"

#ifdef _WIN32
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    CStdConsoleOutput out;
    // The module handle and the command line are what the program starts from;
    // without them it cannot run at all.
    if (!GetModuleHandleW(nullptr) || !GetCommandLineW()) {
        PrintInitializationFailure(out);
        return QLTC_EXIT_INIT_FAILED;
    }
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    return RunQltc(args, out, qlfs::PlatformFileSystem(), ConversionWorkers());
}

#else
#include <sys/resource.h>

#include "fs/PosixPath.h"

namespace {

// Each folder on a descent holds a descriptor open; the soft limit alone
// (often 1024) would cut deep trees short, so take all the system allows.
void RaiseOpenFileLimit()
{
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // Arguments, names and output follow the user's locale; an unusable locale
    // leaves "C", where undecodable bytes are still carried through unchanged.
    std::setlocale(LC_ALL, "");
    RaiseOpenFileLimit();
    CStdConsoleOutput out;
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(qlfs::FromNativePath(argv[i]));
    return RunQltc(args, out, qlfs::PlatformFileSystem(), ConversionWorkers());
}
#endif
