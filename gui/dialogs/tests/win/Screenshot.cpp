#include "Screenshot.h"

#include <cstdlib>
#include <string>

namespace {
// Wine's own way of starting a Linux program from a Windows one.
using UnixSpawn = LONG(__cdecl*)(char* const argv[], int wait);
}

bool SaveScreenshot(const RECT& area, const std::string& fileName)
{
    auto spawn = reinterpret_cast<UnixSpawn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
    const char* binDir = std::getenv("QL_BIN_DIR");
    if (!spawn || !binDir)
        return false;
    // Let Wine put the last paints on the X screen before it is read.
    ::GdiFlush();
    ::Sleep(300);
    const std::string folder = std::string(binDir) + "/../screenshots";
    const std::string geometry = std::to_string(area.right - area.left) + "x" + std::to_string(area.bottom - area.top) +
                                 "+" + std::to_string(area.left) + "+" + std::to_string(area.top);
    std::string command = "mkdir -p '" + folder + "' && xwd -root -silent | convert xwd:- -crop " + geometry +
                          " +repage '" + folder + "/" + fileName + "'";
    char sh[] = "/bin/sh", dashC[] = "-c";
    char* argv[] = {sh, dashC, command.data(), nullptr};
    return spawn(argv, 1) == 0;
}
