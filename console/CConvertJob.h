#pragma once
// One run of QLTC: the parsed command line, the files it names (directly or by
// scanning folders through a filter) and their conversion, with the numbered
// progress lines and the summary on the console.
#include <memory>
#include <string>
#include <vector>

#include "CFolderScan.h"
#include "CParallelConversions.h"
#include "IConsoleOutput.h"
#include "LineEndingFormat.h"
#include "fs/IFileSystem.h"

// Exit statuses of the program.
enum QltcExitStatus : int {
    QLTC_EXIT_OK = 0,            // no arguments, nothing matched, or every file converted
    QLTC_EXIT_INIT_FAILED = 1,   // the program could not initialise
    QLTC_EXIT_SOME_FAILED = 2,   // at least one file failed to convert
    QLTC_EXIT_NO_FORMAT = 3,     // arguments were given but no valid "-format"
};

class CConvertJob {
public:
    CConvertJob(IConsoleOutput& out, qlfs::IFileSystem& fs);

    // Reads the arguments after the program name, left to right.
    void ParseCommandLine(const std::vector<std::wstring>& args);
    // Collects and converts; returns the exit status.
    int Run();
    // Fills the matched list from the paths, printing one line per file.
    void FindMatchedFiles();
    // Threads that convert files side by side (1: one after another). Only
    // for a file system that may be used from several threads.
    void SetWorkers(unsigned workers) { m_workers = workers; }

    int Format() const { return m_format; }
    const std::vector<std::wstring>& Paths() const { return m_paths; }
    const std::wstring& Filter() const { return m_filter; }
    bool ScanSubfolders() const { return m_scanSubfolders; }
    bool KeepTimestamps() const { return m_keepTimestamps; }
    bool KeepAttributes() const { return m_keepAttributes; }
    bool ConvertReadOnly() const { return m_convertReadOnly; }
    bool BackupOriginal() const { return m_backupOriginal; }
    const std::vector<std::wstring>& MatchedFiles() const { return m_matchedFiles; }

private:
    void ParseOption(std::wstring_view option, const std::vector<std::wstring>& args, size_t& i);
    void ScanFolder(const std::wstring& folder, const std::wstring& filter, bool scanSubfolders);
    void AddFile(const std::wstring& path);
    std::unique_ptr<CParallelConversions> StartParallelConversions();
    CParallelConversions::SResult ConvertNow(size_t index);
    bool ConvertOne(size_t index, CParallelConversions* parallel);

    IConsoleOutput& m_out;
    qlfs::IFileSystem& m_fs;
    int m_format = LEF_NONE;
    std::vector<std::wstring> m_paths;
    bool m_scanSubfolders = false;
    std::wstring m_filter;
    bool m_keepTimestamps = false;
    bool m_keepAttributes = false;
    bool m_convertReadOnly = false;
    bool m_backupOriginal = false;
    unsigned m_workers = 1;
    std::vector<std::wstring> m_matchedFiles;
    VisitedFolders m_visitedFolders;  // folders listed in this collection
};
