#include "CConvertJob.h"

#include <cwctype>
#include <system_error>

#include "CFolderScan.h"
#include "ConsoleText.h"
#include "ConvertFile.h"
#include "FileKey.h"
#include "PathFileName.h"

namespace {

constexpr std::wstring_view kOptionFormat = L"format";
constexpr std::wstring_view kOptionFilter = L"filter";
constexpr std::wstring_view kOptionScanSubfolders = L"ss";
constexpr std::wstring_view kOptionKeepTimestamps = L"kt";
constexpr std::wstring_view kOptionKeepAttributes = L"ka";
constexpr std::wstring_view kOptionConvertReadOnly = L"cr";
constexpr std::wstring_view kOptionBackupOriginal = L"bo";

constexpr std::wstring_view kStatusConverting = L"converting";
constexpr std::wstring_view kStatusOK = L"OK";
constexpr std::wstring_view kStatusFailed = L"failed";
constexpr int kNumberWidth = 4;
constexpr int kStatusWidth = 12;  // wide enough for "converting" to be overwritten

constexpr std::wstring_view kOptionNames[] = {
    kOptionFormat,         kOptionFilter,          kOptionScanSubfolders, kOptionKeepTimestamps,
    kOptionKeepAttributes, kOptionConvertReadOnly, kOptionBackupOriginal,
};

// "-" always starts an option. On Windows "/" does too; on POSIX it also starts
// every absolute path, so there "/" starts an option only when an option name
// follows it ("/ss"). Any other "/..." there is a path; one that does not exist
// is skipped just as an unknown option would be ignored.
bool IsOption(std::wstring_view arg)
{
    if (arg.empty())
        return false;
    if (arg[0] == L'-')
        return true;
    if (arg[0] != L'/')
        return false;
#ifdef _WIN32
    return true;
#else
    for (std::wstring_view name : kOptionNames)
        if (arg.substr(1) == name)
            return true;
    return false;
#endif
}

std::wstring TrimWhiteSpace(const std::wstring& text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && std::iswspace(wint_t(text[begin])))
        ++begin;
    while (end > begin && std::iswspace(wint_t(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

}  // namespace

CConvertJob::CConvertJob(IConsoleOutput& out, qlfs::IFileSystem& fs) : m_out(out), m_fs(fs) {}

void CConvertJob::ParseCommandLine(const std::vector<std::wstring>& args)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (IsOption(arg))
            ParseOption(std::wstring_view(arg).substr(1), args, i);
        else
            m_paths.push_back(arg);
    }
}

// Applies one option; an option taking a value consumes the next argument,
// whatever it looks like. Unknown options are ignored.
void CConvertJob::ParseOption(std::wstring_view option, const std::vector<std::wstring>& args,
                              size_t& i)
{
    const bool hasValue = i + 1 < args.size();
    if (option == kOptionFormat) {
        if (hasValue) {
            const int format = ParseLineEndingWord(args[++i]);
            if (format != LEF_NONE)
                m_format = format;
        }
    } else if (option == kOptionFilter) {
        if (hasValue)
            m_filter = TrimWhiteSpace(args[++i]);
    } else if (option == kOptionScanSubfolders) {
        m_scanSubfolders = true;
    } else if (option == kOptionKeepTimestamps) {
        m_keepTimestamps = true;
    } else if (option == kOptionKeepAttributes) {
        m_keepAttributes = true;
    } else if (option == kOptionConvertReadOnly) {
        m_convertReadOnly = true;
    } else if (option == kOptionBackupOriginal) {
        m_backupOriginal = true;
    }
}

int CConvertJob::Run()
{
    if (m_format == LEF_NONE)
        return QLTC_EXIT_NO_FORMAT;
    FindMatchedFiles();
    if (m_matchedFiles.empty())
        return QLTC_EXIT_OK;

    m_out.Write(L"\nStart converting...\n\n");
    size_t converted = 0, failed = 0;
    std::unique_ptr<CParallelConversions> parallel = StartParallelConversions();
    for (size_t i = 0; i < m_matchedFiles.size(); ++i) {
        if (ConvertOne(i, parallel.get()))
            ++converted;
        else
            ++failed;
    }
    m_out.Write(L"\nFinished: " + FormatNumber(converted, 0) + L" converted, " +
                FormatNumber(failed, 0) + L" failed.\n");
    return failed == 0 ? QLTC_EXIT_OK : QLTC_EXIT_SOME_FAILED;
}

// Null when the files are converted one at a time: one worker, one file, or
// no thread to be had.
std::unique_ptr<CParallelConversions> CConvertJob::StartParallelConversions()
{
    if (m_workers < 2 || m_matchedFiles.size() < 2)
        return nullptr;
    // A file met twice, under any spelling, must not be converted twice at
    // once; its identity tells.
    std::vector<std::wstring> keys;
    keys.reserve(m_matchedFiles.size());
    for (const std::wstring& path : m_matchedFiles)
        keys.push_back(SameFileKey(m_fs, path));
    try {
        return std::make_unique<CParallelConversions>(std::move(keys), m_workers,
                                                      [this](size_t index) { return ConvertNow(index); });
    } catch (const std::system_error&) {
        return nullptr;
    }
}

CParallelConversions::SResult CConvertJob::ConvertNow(size_t index)
{
    CParallelConversions::SResult result;
    result.ok = ConvertFile(m_fs, m_matchedFiles[index], m_format, m_keepTimestamps, m_keepAttributes,
                            m_convertReadOnly, m_backupOriginal, nullptr, &result.outcome) == 0;
    return result;
}

void CConvertJob::FindMatchedFiles()
{
    m_out.Write(L"\nStart finding matched files...\n\n");
    m_matchedFiles.clear();
    m_visitedFolders.clear();
    for (const std::wstring& path : m_paths) {
        if (!m_fs.Exists(path))
            continue;
        // Files named directly are taken whatever the filter says.
        if (m_fs.IsFolder(path))
            ScanFolder(path, m_filter, m_scanSubfolders);
        else
            AddFile(path);
    }
    if (m_matchedFiles.empty())
        m_out.Write(L"\nFinished: No files matched.\n");
    else
        m_out.Write(L"\nFinished: " + FormatNumber(m_matchedFiles.size(), 0) + L" files matched.\n");
}

void CConvertJob::ScanFolder(const std::wstring& folder, const std::wstring& filter,
                             bool scanSubfolders)
{
    CFolderScan scan(m_fs, filter, scanSubfolders, m_visitedFolders, [this](const std::wstring& path) { AddFile(path); });
    scan.Scan(folder);
}

void CConvertJob::AddFile(const std::wstring& path)
{
    m_matchedFiles.push_back(path);
    m_out.Write(FormatNumber(m_matchedFiles.size(), kNumberWidth) + L". " +
                std::wstring(FileNameOfPath(path)) + L"\n");
}

// Converts entry `index` between its "converting" line and the status that
// overwrites it (or takes its result from the parallel workers); true on success.
bool CConvertJob::ConvertOne(size_t index, CParallelConversions* parallel)
{
    const std::wstring& path = m_matchedFiles[index];
    const std::wstring head = FormatNumber(index + 1, kNumberWidth) + L". " +
                              std::wstring(FileNameOfPath(path)) + L" ... ";
    m_out.Write(head + PadRight(kStatusConverting, kStatusWidth));

    const CParallelConversions::SResult result = parallel ? parallel->Take(index) : ConvertNow(index);
    m_out.Write(L"\r" + head + PadRight(result.ok ? kStatusOK : kStatusFailed, kStatusWidth));
    m_out.Write(L"\n");
    // The original is gone in this case; the user must learn where its
    // converted content is.
    if (!result.ok && !result.outcome.keptConvertedName.empty())
        m_out.Write(L"      The converted content was kept in " + result.outcome.keptConvertedName + L"\n");
    return result.ok;
}
