#include "ProcessArguments.h"

#include <windows.h>
#include <shellapi.h>
#include <memory>

namespace {
struct CLocalFreeDeleter {
    void operator()(wchar_t** block) const { ::LocalFree(block); }
};
}

std::vector<std::wstring> ProcessArguments()
{
    int count = 0;
    std::unique_ptr<wchar_t*, CLocalFreeDeleter> argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
    std::vector<std::wstring> arguments;
    if (!argv)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(argv.get()[i]);
    return arguments;
}
