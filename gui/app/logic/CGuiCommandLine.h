#pragma once
// Classes: CGuiCommandLine, the program's parsed command line:
//   [-format crlf|cr|lf] [-filter <filter>] [-ss -kt -ka -cr -bo -as -ac] [-h|-?] [paths...]
// Options start with "-" or "/" and are compared case-sensitively.
#include <string>
#include <vector>

class CGuiCommandLine {
public:
    // Fills the fields from the arguments (program name excluded) and returns
    // how many were recognised; "-h"/"-?" and unknown options are not counted,
    // an option and its value count as one.
    int ParseCommandLine(const std::vector<std::wstring>& arguments);

    bool m_help = false;
    int m_format = -1;  // -1: not given
    std::vector<std::wstring> m_paths;
    bool m_scanSubfolders = false;
    std::wstring m_filter;
    // -1 leaves the stored option as it is; 1 turns it on.
    int m_keepTimestamps = -1;
    int m_keepAttributes = -1;
    int m_convertReadOnly = -1;
    int m_backupOriginal = -1;
    bool m_autoStart = false;
    bool m_autoClose = false;

private:
    bool ApplySwitch(const std::wstring& word);
};
