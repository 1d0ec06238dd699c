#pragma once
// QLTC after initialisation: the banner, then the usage text or one job.
#include <string>
#include <vector>

#include "IConsoleOutput.h"
#include "fs/IFileSystem.h"

// `args` are the arguments after the program name. `workers` threads convert
// files side by side (see CConvertJob::SetWorkers). Returns the exit status.
int RunQltc(const std::vector<std::wstring>& args, IConsoleOutput& out, qlfs::IFileSystem& fs,
            unsigned workers = 1);

// Printed instead of everything else when the program cannot start.
void PrintInitializationFailure(IConsoleOutput& out);
