// CQuilletDlg: the conversion run. The worker converts the rows in list order
// and hands every change to rows and the caption to the window's thread
// through the run's event queue; the window joins it when it posts
// WM_APP_RUN_FINISHED.
#include "CQuilletDlg.h"

#include "ConvertFile.h"
#include "FileKey.h"
#include "fs/IFileSystem.h"
#include "resource.h"

#include <chrono>
#include <system_error>

void CQuilletDlg::OnConvert()
{
    if (m_pWorker)
        return;
    UpdateData(true);
    SetRunningState(true);
    m_stopRequest = kNoStop;
    if (!StartWorker()) {
        // No run could begin: back to idle with every row as it was.
        m_pWorker.reset();
        SetRunningState(false);
        return;
    }
    // The toolbar and buttons show the run's states at once, not at the next
    // idle pass: a click on Remove must never find it still enabled.
    UpdateCommandStates();
}

bool CQuilletDlg::StartWorker()
{
    m_pWorker = std::make_unique<CWorkerThread>([this] { return RunConversion(); });
    if (!m_pWorker->Create())
        return false;
    // A thread that would not resume is resumed by the join.
    m_pWorker->Resume();
    return true;
}

// The worker never waits for the window while it converts: each change to a
// row goes into the run's event queue, and the window makes the changes in
// order when it gets to them. Under Wine every cross-thread message is a trip
// through the server, and the window may be busy painting; waiting for it at
// each file made a run of small files several times slower than the console's.
//
// Files are converted on a few threads, as the console does, while the rows
// are shown in list order: a row shows "Converting" once the rows before it
// are done, whichever thread converts it. A stop lets every file already
// started finish and show its result; later rows stay as they are.
unsigned CQuilletDlg::RunConversion()
{
    // The one step the worker waits for: the rows are reset and their items
    // handed over, and the count is the run's (later rows are not in it).
    CRunReset reset;
    SendMessage(WM_APP_RUN_RESET, 0, reinterpret_cast<LPARAM>(&reset));
    const int count = static_cast<int>(reset.items.size());
    {
        std::lock_guard lock(m_shownRowMutex);
        m_rowOpened.assign(reset.items.size(), 0);
        m_shownRow = -1;
    }
    std::unique_ptr<CParallelConversions> parallel = StartParallelRun(reset.items);
    for (int row = 0; row < count; ++row) {
        if (m_stopRequest != kNoStop) {
            if (!parallel)
                break;
            parallel->StopStarting();
            if (static_cast<size_t>(row) >= parallel->Started())
                break;
        }
        BeginShownRow(row);
        const int status = parallel ? (parallel->Take(row).ok ? StatusOk : StatusFailed)
                                    : ConvertRowNow(row, reset.items[row]);
        EndShownRow(row, status);
    }
    parallel.reset();
    PostMessage(WM_APP_RUN_FINISHED);
    return 0;
}

// Null when the rows are converted one at a time on this thread: one row, one
// worker, no thread to be had, or a window that waits at each change.
std::unique_ptr<CParallelConversions> CQuilletDlg::StartParallelRun(const std::vector<CFileItem*>& items)
{
    const unsigned workers = m_runStepsWait ? 1 : ConversionWorkers();
    if (workers < 2 || items.size() < 2)
        return nullptr;
    // The same file in two rows is never converted twice at once.
    std::vector<std::wstring> keys;
    keys.reserve(items.size());
    for (size_t row = 0; row < items.size(); ++row)
        keys.push_back(items[row] ? SameFileKey(qlfs::PlatformFileSystem(), items[row]->path) : L"?" + std::to_wstring(row));
    try {
        return std::make_unique<CParallelConversions>(std::move(keys), workers, [this, &items](size_t row) {
            CParallelConversions::SResult result;
            result.ok = ConvertRowNow(static_cast<int>(row), items[row]) == StatusOk;
            return result;
        });
    } catch (const std::system_error&) {
        return nullptr;
    }
}

int CQuilletDlg::ConvertRowNow(int row, CFileItem* item)
{
    if (!item)
        return StatusFailed;
    // The options are read for each file: a change from the Options menu
    // counts from the next file on.
    CRowProgress sink(*this, row, *item);
    const int result = ConvertFile(item->path.c_str(), m_format, m_settings.m_keepTimestamps,
                                   m_settings.m_keepAttributes, m_settings.m_convertReadOnly,
                                   m_settings.m_backupOriginal, &sink);
    return result == 0 ? StatusOk : StatusFailed;
}

void CQuilletDlg::BeginShownRow(int row)
{
    PushRunEvent(SRunEvent::kStatus, row, StatusConverting);
    PushRunEvent(SRunEvent::kBegin, row, 0);
    std::lock_guard lock(m_shownRowMutex);
    m_shownRow = row;
    m_zeroShown = false;
    if (m_rowOpened[row])
        ShowZeroLocked(row);
}

void CQuilletDlg::EndShownRow(int row, int status)
{
    {
        std::lock_guard lock(m_shownRowMutex);
        if (m_rowOpened[row] && !m_zeroShown)
            ShowZeroLocked(row);
        m_shownRow = -1;
    }
    PushRunEvent(SRunEvent::kStatus, row, status);
}

// A row whose file was opened shows "0" between "Converting" and its progress.
void CQuilletDlg::ShowZeroLocked(int row)
{
    m_zeroShown = true;
    PushRunEvent(SRunEvent::kPercent, row, 0);
}

void CQuilletDlg::PushRunEvent(SRunEvent::Kind kind, int row, int value)
{
    const bool tell = m_runEvents.Push({kind, row, value});
    if (m_runStepsWait)
        SendMessage(WM_APP_RUN_EVENTS);
    else if (tell)
        PostMessage(WM_APP_RUN_EVENTS);
}

void CQuilletDlg::OnRunReset(CRunReset& reset)
{
    BeginRunPainting();
    const int count = m_list.GetItemCount();
    reset.items.resize(count);
    for (int row = 0; row < count; ++row) {
        reset.items[row] = ItemAt(row);
        SetRowStatus(row, reset.items[row], StatusNone);
    }
    m_runItems = reset.items;
    m_lastFinishedRow = -1;
    m_runTitleRow = m_shownTitleRow = -1;
    m_runScroll.Reset();
}

// Makes the waiting changes in the order the worker made them. The scroll
// follows the last row begun (a batch may hold several). So does the caption,
// but a new caption repaints the window's frame, so it is shown with the next
// frame unless the worker waits for each change anyway.
void CQuilletDlg::ApplyRunEvents()
{
    int begun = -1;
    for (const SRunEvent& event : m_runEvents.TakeAll()) {
        m_runFrameDirty = true;
        switch (event.kind) {
        case SRunEvent::kStatus:
            SetRowStatus(event.row, m_runItems[event.row], event.value);
            if (event.value == StatusOk || event.value == StatusFailed)
                m_lastFinishedRow = event.row;
            break;
        case SRunEvent::kPercent:
            m_list.SetItemText(event.row, 2, std::to_wstring(event.value));
            break;
        case SRunEvent::kBegin:
            begun = event.row;
            break;
        }
    }
    if (begun < 0)
        return;
    ScrollRunRowIntoView(begun);
    m_runTitleRow = begun;
    if (m_runStepsWait)
        ShowRunTitle();
}

void CQuilletDlg::ShowRunTitle()
{
    if (m_runTitleRow == m_shownTitleRow)
        return;
    m_shownTitleRow = m_runTitleRow;
    UpdateTitle(m_runTitleRow, static_cast<int>(m_runItems.size()));
}

// Scrolling the list is the dearest thing a row's start asks of the window,
// and rows of small files start hundreds of times a second. So the converting row is scrolled into view at
// most once per interval; a row started sooner is scrolled to when the
// interval ends, if it is still the current one by then.
void CQuilletDlg::ScrollRunRowIntoView(int row)
{
    int due = -1;
    switch (m_runScroll.RowStarted(row, ::GetTickCount64(), due)) {
    case CScrollThrottle::kScrollNow:
        m_list.EnsureVisible(row);
        break;
    case CScrollThrottle::kScrollLater:
        ::SetTimer(m_hWnd, kRunScrollTimer, static_cast<UINT>(due), nullptr);
        break;
    case CScrollThrottle::kAlreadyDue:
        break;
    }
}

void CQuilletDlg::OnRunScrollTimer()
{
    ::KillTimer(m_hWnd, kRunScrollTimer);
    const int row = m_runScroll.Due(::GetTickCount64());
    if (row >= 0)
        m_list.EnsureVisible(row);
}

// A run's changes and frames arrive hundreds of times a second and change no
// command's state: the toolbars are not refreshed after each of them.
bool CQuilletDlg::IsIdleMessage(const MSG& msg) const
{
    if (msg.hwnd == m_hWnd && (msg.message == WM_APP_RUN_EVENTS ||
                               (msg.message == WM_TIMER && (msg.wParam == kRunFrameTimer || msg.wParam == kRunScrollTimer))))
        return false;
    return CFrameDlg::IsIdleMessage(msg);
}

// While a run is active the list does not repaint on each change: rows of
// small files change hundreds of times a second, and a repaint costs far more
// than the change (under Wine, dozens of round trips to the server). The list
// is painted once per frame instead, which looks the same to a person.
void CQuilletDlg::BeginRunPainting()
{
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    m_runFrameDirty = false;
    ::SetTimer(m_hWnd, kRunFrameTimer, kRunFrameMs, nullptr);
}

void CQuilletDlg::PaintRunFrame()
{
    // Changes whose message was lost (a full queue) still show here.
    ApplyRunEvents();
    ShowRunTitle();
    if (!m_runFrameDirty)
        return;
    m_runFrameDirty = false;
    const auto start = std::chrono::steady_clock::now();
    PaintListWhileRunning();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    ::SetTimer(m_hWnd, kRunFrameTimer, NextRunFrameDelayMs(spent.count()), nullptr);
}

void CQuilletDlg::PaintListWhileRunning()
{
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate(false);
    ::UpdateWindow(m_list.Handle());
    m_list.SendMessage(WM_SETREDRAW, FALSE);
}

// The caption back to "Quillet", the list painting again, the last row done in view.
void CQuilletDlg::EndRunView()
{
    UpdateTitle(-1, -1);
    ::KillTimer(m_hWnd, kRunScrollTimer);
    ::KillTimer(m_hWnd, kRunFrameTimer);
    m_runScroll.Reset();
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate(false);
    if (m_lastFinishedRow >= 0)
        m_list.EnsureVisible(m_lastFinishedRow);
}

void CQuilletDlg::OnRunFinished()
{
    if (m_pWorker) {
        // The worker has posted its last message, but the join still serves
        // sent messages in case it is anywhere short of its end.
        m_pWorker->Join();
        m_pWorker.reset();
    }
    ApplyRunEvents();
    EndRunView();
    FinishRun();
}

void CQuilletDlg::FinishRun()
{
    const int stop = m_stopRequest;
    if (stop == kStopAndClose)
        EndDialog(IDOK);
    SetRunningState(false);
    if (stop != kNoStop)
        return;
    const bool commandLineClose = m_commandLine && m_commandLine->m_autoClose;
    if (m_autoClose || commandLineClose)
        PostMessage(WM_CLOSE);
}

bool CQuilletDlg::DeferCloseWhileBusy()
{
    // A run closes the window once its current file is done; a batch of rows
    // being added is cut short and closes the window when it returns.
    if (m_pWorker) {
        m_stopRequest = kStopAndClose;
        return true;
    }
    if (IsAddingRows()) {
        m_closeAfterAdding = true;
        m_abandonAdding = true;
        return true;
    }
    return false;
}

void CQuilletDlg::OnOK()
{
    if (!DeferCloseWhileBusy())
        CFrameDlg::OnOK();
}

void CQuilletDlg::OnCancel()
{
    if (!DeferCloseWhileBusy())
        CFrameDlg::OnCancel();
}

void CQuilletDlg::SetRunningState(bool running)
{
    CWindow convert = GetDlgItem(IDC_CONVERT);
    CWindow stop = GetDlgItem(IDC_STOP);
    stop.Show(running ? SW_SHOW : SW_HIDE);
    convert.Show(running ? SW_HIDE : SW_SHOW);
    GetDlgItem(IDC_FORMAT_COMBO).Enable(!running);
    GetDlgItem(IDC_FORMAT_LABEL).Enable(!running);
    (running ? stop : convert).SetFocus();
    UpdateCommandStates();
}

void CQuilletDlg::SetItemStatus(int row, int status)
{
    // The row's changes are made on the window's thread, whichever thread asks.
    SendMessage(WM_APP_SET_ITEM_STATUS, static_cast<WPARAM>(row), status);
}

void CQuilletDlg::ApplyItemStatus(int row, int status)
{
    SetRowStatus(row, ItemAt(row), status);
    m_list.SendMessage(LVM_REDRAWITEMS, row, row);
}

// The row's status without the redraw: a run paints the list by frames.
void CQuilletDlg::SetRowStatus(int row, CFileItem* item, int status)
{
    if (item)
        item->status = static_cast<FileStatus>(status);
    m_list.SetItemState(row, INDEXTOSTATEIMAGEMASK(status), LVIS_STATEIMAGEMASK);
    if (const wchar_t* text = StatusText(status))
        m_list.SetItemText(row, 2, text);
}

void CQuilletDlg::UpdateTitle(int index, int count)
{
    SetText(RunTitle(index, count));
}

int CQuilletDlg::CRowProgress::OnBegin(int totalKiB)
{
    m_item.sizeKB = totalKiB;
    m_filter.Begin(totalKiB, ::GetTickCount64());
    CQuilletDlg& o = m_owner;
    std::lock_guard lock(o.m_shownRowMutex);
    o.m_rowOpened[m_row] = 1;
    if (o.m_shownRow == m_row && !o.m_zeroShown)
        o.ShowZeroLocked(m_row);
    return 0;
}

int CQuilletDlg::CRowProgress::OnProgress(int doneKiB)
{
    // Only a change of the shown number is handed to the window, and only
    // while the row is the one shown converting.
    int percent = 0;
    if (!m_filter.Advance(doneKiB, ::GetTickCount64(), percent))
        return 0;
    CQuilletDlg& o = m_owner;
    std::lock_guard lock(o.m_shownRowMutex);
    if (o.m_shownRow != m_row)
        return 0;
    if (!o.m_zeroShown)
        o.ShowZeroLocked(m_row);
    o.PushRunEvent(SRunEvent::kPercent, m_row, percent);
    return 0;
}
