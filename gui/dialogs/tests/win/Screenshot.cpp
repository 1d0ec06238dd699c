#include "Screenshot.h"

#include <cstdlib>
#include <string>

namespace {
// Wine's own ways of starting a Linux program and of naming a file for Linux.
using UnixSpawn = LONG(__cdecl*)(char* const argv[], int wait);
using UnixFileName = char*(__cdecl*)(const wchar_t* dosName);

template <class T>
T WineExport(const wchar_t* module, const char* name)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(module), name)));
}

// QL_BIN_DIR when the test runner sets it, else the folder of this program.
std::string BinFolder()
{
    if (const char* binDir = std::getenv("QL_BIN_DIR"))
        return binDir;
    auto unixName = WineExport<UnixFileName>(L"kernel32.dll", "wine_get_unix_file_name");
    wchar_t program[MAX_PATH] = {};
    if (!unixName || !::GetModuleFileNameW(nullptr, program, MAX_PATH))
        return {};
    char* name = unixName(program);
    if (!name)
        return {};
    std::string folder(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return folder.substr(0, folder.rfind('/'));
}
}

bool SaveScreenshot(const RECT& area, const std::string& fileName)
{
    auto spawn = WineExport<UnixSpawn>(L"ntdll.dll", "__wine_unix_spawnvp");
    const std::string binDir = BinFolder();
    if (!spawn || binDir.empty())
        return false;
    // Let Wine put the last paints on the X screen before it is read.
    ::GdiFlush();
    ::Sleep(300);
    const std::string folder = binDir + "/../screenshots";
    const std::string geometry = std::to_string(area.right - area.left) + "x" + std::to_string(area.bottom - area.top) +
                                 "+" + std::to_string(area.left) + "+" + std::to_string(area.top);
    std::string command = "mkdir -p '" + folder + "' && xwd -root -silent | convert xwd:- -crop " + geometry +
                          " +repage '" + folder + "/" + fileName + "'";
    char sh[] = "/bin/sh", dashC[] = "-c";
    char* argv[] = {sh, dashC, command.data(), nullptr};
    return spawn(argv, 1) == 0;
}
