#pragma once
// Classes: CTestQuilletDlg, the real main window driven by a test script from
// inside its own modal loop. Dialogs and processes it would start are stood
// in for and recorded; a hook sees every caption the window gets, which is
// where a script can act at a known point of a run (the worker waits in
// SendMessage until the hook returns, see m_runStepsWait). Also the files and helpers the
// main-window tests share.
#include "CQuilletDlg.h"
#include "ShellOpen.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CTestQuilletDlg : public CQuilletDlg {
public:
    using Script = std::function<void(CTestQuilletDlg&)>;
    // Posted by a script: the window destroys itself, as when its owner goes.
    static constexpr UINT kDestroyNow = WM_APP + 32;

    CTestQuilletDlg(CAppSettings& settings, CUiResources& ui, const CGuiCommandLine* commandLine, Script script);

    struct FolderAnswer {
        bool ok = true;
        std::wstring folder;  // Select Folder only
        std::wstring filter;
        std::optional<bool> scanSubfolders;  // unset: keep what was proposed
    };

    // Stand-ins and what they were asked.
    std::vector<std::wstring> m_filesToChoose;
    int m_fileDialogs = 0;
    FolderAnswer m_folderAnswer;
    std::vector<std::vector<std::wstring>> m_foldersPrompted;
    std::vector<bool> m_scanProposed;
    std::vector<ShellOpenRequest> m_launched;  // what went to the shell while the window ran
    bool m_failWorker = false;
    bool m_realFolderDialogs = false;  // open the program's own folder dialogs
    std::function<void(const std::wstring& caption)> m_onCaption;

    using CQuilletDlg::SetItemStatus;
    using CQuilletDlg::PaintListWhileRunning;
    using CQuilletDlg::m_runStepsWait;
    using CQuilletDlg::QueryCommandState;
    int Rows() { return FileList().GetItemCount(); }
    std::wstring Cell(int row, int column) { return FileList().GetItemText(row, column); }
    std::wstring Path(int row) { return ItemAt(row) ? ItemAt(row)->path : L"<none>"; }
    int Status(int row) { return ItemAt(row) ? ItemAt(row)->status : -1; }
    std::wstring ColumnCaption(int column);
    void Command(UINT id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED)); }
    // Convert, then serve the window until the run has ended.
    bool ConvertAndWait();
    bool Visible(int id) { return ::IsWindowVisible(GetDlgItem(id)) != FALSE; }
    bool Enabled(int id) { return ::IsWindowEnabled(GetDlgItem(id)) != FALSE; }
    void ClickHeader(int column);
    void SelectOnly(std::initializer_list<int> rows);

protected:
    bool OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool PromptForFiles(std::vector<std::wstring>& paths) override;
    bool PromptForFolder(std::wstring& folder, std::wstring& filter, bool& scanSubfolders) override;
    bool PromptForFolders(const std::vector<std::wstring>& folders, std::wstring& filter,
                          bool& scanSubfolders) override;
    bool StartWorker() override;

private:
    Script m_script;
};

// Dispatches the thread's messages until done() holds; false on timeout.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000);

// A fresh folder under the temporary folder, removed with its files at the end.
class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    const std::wstring& Path() const { return m_path; }
    std::wstring Write(const std::wstring& name, const std::string& bytes) const;
    std::string Read(const std::wstring& name) const;

private:
    std::wstring m_path;
};

// Runs a shell command line on the Linux side of Wine; false when it failed.
bool RunUnixCommand(const std::string& command);
// The Linux name of a Windows path.
std::string UnixName(const std::wstring& path);

// Settings and shared resources as the program has them after its start.
struct CTestEnvironment {
    CTestEnvironment();
    CAppSettings settings;
    CUiResources ui;
};
