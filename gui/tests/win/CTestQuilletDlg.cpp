#include "CTestQuilletDlg.h"

#include "CMemoryProfileStore.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {
const UINT kRunScript = WM_APP + 31;

using UnixSpawn = LONG(__cdecl*)(char* const argv[], int wait);
using UnixFileName = char*(__cdecl*)(const wchar_t* dosName);

template <class T>
T WineExport(const wchar_t* module, const char* name)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(module), name)));
}
}

CTestQuilletDlg::CTestQuilletDlg(CAppSettings& settings, CUiResources& ui, const CGuiCommandLine* commandLine,
                                 Script script)
    : CQuilletDlg(settings, ui, commandLine), m_script(std::move(script))
{
    // Scripts act at known points of a run: the worker waits for each change.
    m_runStepsWait = true;
}

bool CTestQuilletDlg::OnInitDialog()
{
    bool result = CQuilletDlg::OnInitDialog();
    // After the command line's own message, so a script sees its rows.
    PostMessage(kRunScript);
    return result;
}

bool CTestQuilletDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (msg == kRunScript) {
        ShellOpenFunction shell = SetShellOpenFunction([this](const ShellOpenRequest& r) { m_launched.push_back(r); });
        if (m_script)
            m_script(*this);
        SetShellOpenFunction(shell);
        PumpUntil([this] { return !IsRunning(); });
        if (!IsEnding())
            EndDialog(IDOK);
        result = 0;
        return true;
    }
    if (msg == kDestroyNow) {
        ::DestroyWindow(m_hWnd);
        result = 0;
        return true;
    }
    if (msg == WM_SETTEXT && m_onCaption) {
        // The caption is set first, so that what the hook sees and shoots shows it.
        result = ::DefWindowProcW(m_hWnd, msg, wp, lp);
        m_onCaption(reinterpret_cast<const wchar_t*>(lp));
        return true;
    }
    return CQuilletDlg::OnMessage(msg, wp, lp, result);
}

bool CTestQuilletDlg::PromptForFiles(std::vector<std::wstring>& paths)
{
    ++m_fileDialogs;
    paths = m_filesToChoose;
    return !paths.empty();
}

bool CTestQuilletDlg::PromptForFolder(std::wstring& folder, std::wstring& filter, bool& scanSubfolders)
{
    if (m_realFolderDialogs)
        return CQuilletDlg::PromptForFolder(folder, filter, scanSubfolders);
    m_foldersPrompted.push_back({});
    m_scanProposed.push_back(scanSubfolders);
    folder = m_folderAnswer.folder;
    filter = m_folderAnswer.filter;
    scanSubfolders = m_folderAnswer.scanSubfolders.value_or(scanSubfolders);
    return m_folderAnswer.ok;
}

bool CTestQuilletDlg::PromptForFolders(const std::vector<std::wstring>& folders, std::wstring& filter,
                                       bool& scanSubfolders)
{
    if (m_realFolderDialogs)
        return CQuilletDlg::PromptForFolders(folders, filter, scanSubfolders);
    m_foldersPrompted.push_back(folders);
    m_scanProposed.push_back(scanSubfolders);
    filter = m_folderAnswer.filter;
    scanSubfolders = m_folderAnswer.scanSubfolders.value_or(scanSubfolders);
    return m_folderAnswer.ok;
}

bool CTestQuilletDlg::StartWorker()
{
    return !m_failWorker && CQuilletDlg::StartWorker();
}

std::wstring CTestQuilletDlg::ColumnCaption(int column)
{
    wchar_t text[64] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = 64;
    FileList().GetColumn(column, info);
    return text;
}

bool CTestQuilletDlg::ConvertAndWait()
{
    Command(IDC_CONVERT);
    return PumpUntil([this] { return !IsRunning(); });
}

void CTestQuilletDlg::ClickHeader(int column)
{
    NMHEADERW click{};
    click.hdr.hwndFrom = FileList().GetHeader();
    click.hdr.idFrom = ::GetDlgCtrlID(click.hdr.hwndFrom);
    click.hdr.code = HDN_ITEMCLICKW;
    click.iItem = column;
    FileList().SendMessage(WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

void CTestQuilletDlg::SelectOnly(std::initializer_list<int> rows)
{
    FileList().SetItemState(-1, 0, LVIS_SELECTED);
    for (int row : rows)
        FileList().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG start = ::GetTickCount64();
    while (!done()) {
        if (::GetTickCount64() - start > timeoutMs)
            return false;
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }
    return true;
}

CTempFolder::CTempFolder()
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    static int serial = 0;
    m_path = std::wstring(temp) + L"qlmain-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(++serial);
    ::CreateDirectoryW(m_path.c_str(), nullptr);
}

CTempFolder::~CTempFolder()
{
    RunUnixCommand("rm -rf '" + UnixName(m_path) + "'");
}

std::wstring CTempFolder::Write(const std::wstring& name, const std::string& bytes) const
{
    const std::wstring path = m_path + L"\\" + name;
    const size_t slash = path.rfind(L'\\');
    ::CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
    return path;
}

std::string CTempFolder::Read(const std::wstring& name) const
{
    std::ifstream in((m_path + L"\\" + name).c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string UnixName(const std::wstring& path)
{
    auto unixName = WineExport<UnixFileName>(L"kernel32.dll", "wine_get_unix_file_name");
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (!name)
        return {};
    std::string result(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

bool RunUnixCommand(const std::string& command)
{
    auto spawn = WineExport<UnixSpawn>(L"ntdll.dll", "__wine_unix_spawnvp");
    if (!spawn)
        return false;
    std::string line = command;
    char sh[] = "/bin/sh", dashC[] = "-c";
    char* argv[] = {sh, dashC, line.data(), nullptr};
    return spawn(argv, 1) == 0;
}

CTestEnvironment::CTestEnvironment()
{
    CMemoryProfileStore store;
    settings.LoadSettings(store);
    ui.LoadSystemImageLists();
}
