#pragma once
// Classes: CQuilletDlg, the program's main window: the file list with its
// toolbars and menus, the format box, the two behaviour check boxes, and the
// conversion run over the list on a worker thread.
//
// The file is split by subject: CQuilletDlg.cpp (creation, layout, settings,
// command states), CQuilletDlgFiles.cpp (filling and opening the list),
// CQuilletDlgRun.cpp (the run and its progress) and CQuilletDlgDraw.cpp (the
// status cell's progress bar).
#include "CAppSettings.h"
#include "CExtComboBox.h"
#include "CFrameDlg.h"
#include "CGuiCommandLine.h"
#include "CParallelConversions.h"
#include "CImageList.h"
#include "CSortListCtrl.h"
#include "CToolBar.h"
#include "CUiResources.h"
#include "CWorkerThread.h"
#include "FileItem.h"
#include "FileListRules.h"
#include "MainLayout.h"
#include "ProgressSink.h"
#include "RunEventQueue.h"
#include "RunProgress.h"
#include "ScrollThrottle.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class CBackgroundFolderScan;

class CQuilletDlg : public CFrameDlg {
public:
    static constexpr UINT WM_APP_PROCESS_COMMAND_LINE = WM_USER + 1;
    static constexpr UINT WM_APP_RUN_FINISHED = WM_USER + 440;
    // Sent by SetItemStatus (row, status): a row changed from any thread.
    static constexpr UINT WM_APP_SET_ITEM_STATUS = WM_APP + 0x40;
    // Sent by the worker once at the start of a run, with a CRunReset.
    static constexpr UINT WM_APP_RUN_RESET = WM_APP + 0x41;
    // Posted by the worker when changes wait in the run's event queue.
    static constexpr UINT WM_APP_RUN_EVENTS = WM_APP + 0x42;

    enum StopRequest { kNoStop = 0, kStop = 1, kStopAndClose = 2 };

    // commandLine may be null; not owned. Its option switches turn the
    // matching settings on.
    CQuilletDlg(CAppSettings& settings, CUiResources& ui, const CGuiCommandLine* commandLine);
    // Writes the format, the on-top state and (without a command line) the
    // auto-close state back into the settings.
    ~CQuilletDlg() override;

    // 0 when a row was added, -1 when the list refused it.
    int AddFileToList(const std::wstring& path);
    // The number of rows added from the folder (and its subfolders).
    int AddFolderToList(const std::wstring& folder, const std::wstring& filter, bool scanSubfolders);
    void UpdateFileCountHeader();
    void LayoutControls();

    bool IsRunning() const { return m_pWorker != nullptr; }
    CSortListCtrl& FileList() { return m_list; }
    CToolBar& FileToolBar() { return m_fileBar; }
    CToolBar& MenuToolBar() { return m_menuBar; }
    CFileItem* ItemAt(int row) const;

protected:
    bool OnCreate() override;
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool IsIdleMessage(const MSG& msg) const override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool OnUpdateCommand(CCommandState& state) override;
    bool OnSize(UINT type, int cx, int cy) override;
    bool OnGetMinMaxInfo(MINMAXINFO* info) override;
    bool OnContextMenu(HWND window, POINT screenPoint) override;
    bool OnDropFiles(HDROP drop) override;
    bool OnLButtonDown(UINT keys, POINT point) override;
    void OnDestroy() override;

    // What the window asks of the user and of the system, one call each, so
    // that tests can stand in for dialogs and processes.
    virtual bool PromptForFiles(std::vector<std::wstring>& paths);
    // Select Folder: the chosen folder (may be "" for an item that is no
    // folder), filter and scan flag; false when cancelled.
    virtual bool PromptForFolder(std::wstring& folder, std::wstring& filter, bool& scanSubfolders);
    // Add Folders over the given folders: the filter and scan flag to use.
    virtual bool PromptForFolders(const std::vector<std::wstring>& folders, std::wstring& filter,
                                  bool& scanSubfolders);
    // Creates and starts the run's thread; false when it could not be created.
    virtual bool StartWorker();

    // The worker thread's body.
    unsigned RunConversion();
    void SetRunningState(bool running);
    void SetItemStatus(int row, int status);
    void UpdateTitle(int index, int count);
    // While a run is active the list is painted one frame at a time.
    void PaintRunFrame();
    void PaintListWhileRunning();

    // The worker sends each change and waits until the window has made it,
    // instead of queueing it: tests set this to act at known points of a run.
    bool m_runStepsWait = false;

private:
    // The progress of one row's conversion, on whichever thread converts it.
    class CRowProgress : public CProgressSink {
    public:
        CRowProgress(CQuilletDlg& owner, int row, CFileItem& item) : m_owner(owner), m_row(row), m_item(item) {}
        int OnNotify(int, int) override { return 0; }
        int OnBegin(int totalKiB) override;
        int OnEnd() override { return 0; }
        int OnProgress(int doneKiB) override;

    private:
        CQuilletDlg& m_owner;
        int m_row;
        CFileItem& m_item;
        CProgressFilter m_filter;
    };

    // The run's rows, handed to the worker when the run starts. Rows neither
    // move nor go while a run is active (sorting and removing are refused),
    // so the items stay valid.
    struct CRunReset {
        std::vector<CFileItem*> items;
    };
    static constexpr UINT_PTR kRunScrollTimer = 0x5152;
    static constexpr UINT_PTR kRunFrameTimer = 0x5153;

    // Creation and layout (CQuilletDlg.cpp).
    bool CreateToolBars();
    bool CreateImageLists();
    void InitFormatBox();
    void InitFileList();
    void ApplyAlwaysOnTop();
    void ShowToolbarPopup(const NMTOOLBARW& info);
    void ToggleOption(std::atomic<int>& option);
    FileListState ListState() const;

    // The list (CQuilletDlgFiles.cpp).
    int AddRow(const std::wstring& path, bool isFolder);
    int SmallIconIndex(const std::wstring& path, bool folder);
    void OnGetRowText(NMLVDISPINFOW& info) const;
    void OnAddFiles();
    void OnAddFolder();
    void OnRemove();
    void OnRemoveAll();
    void OnOpenFile();
    void OnOpenFolder();
    void OnListDoubleClick();
    void Launch(const ShellRequest& request, int show) const;
    void OnProcessCommandLine();
    void AddFoldersWithPrompt(const std::vector<std::wstring>& folders, bool scanSubfolders);
    std::wstring ProposedFilter() const;
    int AddListedRows(CBackgroundFolderScan& listing);
    void BeginAddingRows();
    void EndAddingRows();
    void KeepResponsive();
    bool IsAddingRows() const { return m_addingDepth > 0; }
    // Close and Cancel while a run or a batch of rows is under way: true when
    // the close was put off until that work ends.
    bool DeferCloseWhileBusy();
    static int CALLBACK CompareRows(LPARAM item1, LPARAM item2, LPARAM sortState);

    // The run (CQuilletDlgRun.cpp).
    void OnConvert();
    void OnRunFinished();
    void FinishRun();
    std::unique_ptr<CParallelConversions> StartParallelRun(const std::vector<CFileItem*>& items);
    int ConvertRowNow(int row, CFileItem* item);
    void BeginShownRow(int row);
    void EndShownRow(int row, int status);
    void ShowZeroLocked(int row);
    void PushRunEvent(SRunEvent::Kind kind, int row, int value);
    void ApplyItemStatus(int row, int status);
    void SetRowStatus(int row, CFileItem* item, int status);
    void OnRunReset(CRunReset& reset);
    void ApplyRunEvents();
    void EndRunView();
    void ShowRunTitle();
    void ScrollRunRowIntoView(int row);
    void OnRunScrollTimer();
    void BeginRunPainting();

    // Progress drawing (CQuilletDlgDraw.cpp).
    LRESULT OnListCustomDraw(NMLVCUSTOMDRAW& draw);
    void DrawProgressCell(NMLVCUSTOMDRAW& draw, int row);

    CAppSettings& m_settings;
    CUiResources& m_ui;
    const CGuiCommandLine* m_commandLine;
    int m_format;
    int m_autoClose;
    int m_alwaysOnTop;

    CToolBar m_menuBar;
    CToolBar m_fileBar;
    CImageList m_fileBarImages;
    CImageList m_stateImages;
    CImageList m_formatImages;
    CImageList m_sortArrows;
    CSortListCtrl m_list;
    CExtComboBox m_formatBox;
    bool m_fileCaptionShown = false;

    std::unique_ptr<CWorkerThread> m_pWorker;
    std::atomic<int> m_stopRequest{kNoStop};
    // Which row the window shows converting, so that progress from files
    // converted ahead of it waits its turn; guarded by m_shownRowMutex.
    std::mutex m_shownRowMutex;
    int m_shownRow = -1;
    bool m_zeroShown = false;  // the shown row has its "0"
    std::vector<char> m_rowOpened;  // the row's file was opened (it then shows "0")
    CRunEventQueue m_runEvents;
    std::vector<CFileItem*> m_runItems;  // window thread only; the items of the active run's rows
    int m_lastFinishedRow = -1;  // window thread only
    bool m_runFrameDirty = false;  // window thread only; changes since the last frame
    int m_runTitleRow = -1;  // window thread only; the row the caption should show
    int m_shownTitleRow = -1;  // window thread only; the row it shows
    CScrollThrottle m_runScroll;  // window thread only

    // Rows being added in a batch: redrawing is off, and input that would
    // change the list meanwhile is held back.
    int m_addingDepth = 0;
    bool m_closeAfterAdding = false;
    bool m_abandonAdding = false;
    unsigned long long m_lastPump = 0;
    unsigned long long m_lastShown = 0;
    std::unordered_map<std::wstring, int> m_iconByExtension;
};
