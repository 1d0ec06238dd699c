// CQuilletDlg: the conversion run. The worker converts the rows in list order
// and hands every change to rows and the caption to the window's thread
// through the run's event queue; the window joins it when it posts
// WM_APP_RUN_FINISHED.
#include "CQuilletDlg.h"

#include "ConvertFile.h"
#include "resource.h"

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
    }
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
unsigned CQuilletDlg::RunConversion()
{
    m_currentIndex = -1;
    // The one step the worker waits for: the rows are reset and their items
    // handed over, and the count is the run's (later rows are not in it).
    CRunReset reset;
    SendMessage(WM_APP_RUN_RESET, 0, reinterpret_cast<LPARAM>(&reset));
    const int count = static_cast<int>(reset.items.size());
    for (int row = 0; row < count && m_stopRequest == kNoStop; ++row)
        PushRunEvent(SRunEvent::kStatus, row, ConvertRow(row, reset.items[row]));
    m_currentIndex = -1;
    m_currentItem = nullptr;
    PostMessage(WM_APP_RUN_FINISHED);
    return 0;
}

int CQuilletDlg::ConvertRow(int row, CFileItem* item)
{
    m_currentIndex = row;
    m_currentItem = item;
    PushRunEvent(SRunEvent::kStatus, row, StatusConverting);
    PushRunEvent(SRunEvent::kBegin, row, 0);
    if (!item)
        return StatusFailed;
    // The options are read for each file: a change from the Options menu
    // counts from the next file on.
    const int result = ConvertFile(item->path.c_str(), m_format, m_settings.m_keepTimestamps,
                                   m_settings.m_keepAttributes, m_settings.m_convertReadOnly,
                                   m_settings.m_backupOriginal, &m_sink);
    return result == 0 ? StatusOk : StatusFailed;
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
        ApplyItemStatus(row, StatusNone);
    }
    m_runCount = count;
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
            ApplyItemStatus(event.row, event.value);
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
    UpdateTitle(m_runTitleRow, m_runCount);
}

// Scrolling the list is the dearest thing a row's start asks of the window
// (the list repaints itself there and then), and rows of small files start
// hundreds of times a second. So the converting row is scrolled into view at
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
    PaintListWhileRunning();
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
}

void CQuilletDlg::SetItemStatus(int row, int status)
{
    // The row's changes are made on the window's thread, whichever thread asks.
    SendMessage(WM_APP_SET_ITEM_STATUS, static_cast<WPARAM>(row), status);
}

void CQuilletDlg::ApplyItemStatus(int row, int status)
{
    if (CFileItem* item = ItemAt(row))
        item->status = static_cast<FileStatus>(status);
    m_list.SetItemState(row, INDEXTOSTATEIMAGEMASK(status), LVIS_STATEIMAGEMASK);
    if (const wchar_t* text = StatusText(status))
        m_list.SetItemText(row, 2, text);
    m_list.SendMessage(LVM_REDRAWITEMS, row, row);
}

void CQuilletDlg::UpdateTitle(int index, int count)
{
    SetText(RunTitle(index, count));
}

int CQuilletDlg::CRowProgress::OnBegin(int totalKiB)
{
    CQuilletDlg& o = m_owner;
    if (o.m_currentIndex < 0)
        return 0;
    if (o.m_currentItem)
        o.m_currentItem->sizeKB = totalKiB;
    o.m_progress.Begin(totalKiB, ::GetTickCount64());
    o.PushRunEvent(SRunEvent::kPercent, o.m_currentIndex, 0);
    return 0;
}

int CQuilletDlg::CRowProgress::OnProgress(int doneKiB)
{
    CQuilletDlg& o = m_owner;
    if (o.m_currentIndex < 0)
        return -1;
    // Only a change of the shown number is handed to the window.
    int percent = 0;
    if (o.m_progress.Advance(doneKiB, ::GetTickCount64(), percent))
        o.PushRunEvent(SRunEvent::kPercent, o.m_currentIndex, percent);
    return 0;
}
