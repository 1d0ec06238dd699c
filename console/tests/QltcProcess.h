#pragma once
// Starts the built QLTC program as a real process and collects what it writes
// to standard output, with "\r\n" turned into "\n" (on Windows every line
// ends in "\r\n"; a bare "\n" there is marked so that comparisons fail).
#include <filesystem>
#include <string>
#include <vector>

struct QltcRun {
    std::string output;
    int exitCode = -1;
};

// The built program, beside the test binary.
std::filesystem::path QltcProgramPath();

// `args` follow the program name; the process starts in `folder`. `environment`
// entries ("NAME=value") are added to the inherited environment.
QltcRun RunQltcProcess(const std::vector<std::string>& args, const std::filesystem::path& folder,
                       const std::vector<std::string>& environment = {});

// A fresh, empty folder for one test, removed by the destructor.
class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path Write(const std::string& name, const std::string& content) const;
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path m_path;
};
