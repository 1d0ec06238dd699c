// CQuilletDlg: the conversion run. The worker converts the rows in list order
// and changes rows and the caption only through messages sent to the window's
// thread; the window joins it when it posts WM_APP_RUN_FINISHED.
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

unsigned CQuilletDlg::RunConversion()
{
    m_currentIndex = -1;
    // One step resets the rows and hands over their items. Rows neither move
    // nor go while a run is active (sorting and removing are refused), so the
    // items stay valid and the count is the run's (later rows are not in it).
    CRunStep step;
    SendMessage(WM_APP_RUN_STEP, kResetRows, reinterpret_cast<LPARAM>(&step));
    const int count = static_cast<int>(step.items.size());
    step.count = count;
    for (int row = 0; row < count && m_stopRequest == kNoStop; ++row) {
        step.finishedStatus = ConvertRow(row, step.items[row], step);
        step.finishedRow = row;
    }
    m_currentIndex = -1;
    m_currentItem = nullptr;
    // The last result, the caption back to "Quillet" and the view settled.
    step.beginRow = -1;
    SendStep(step);
    PostMessage(WM_APP_RUN_FINISHED);
    return 0;
}

// The row's start is shown when the converter reports the file's size
// (OnBegin), so the start, its "0" and the previous row's result travel in one
// message; a file that fails before that is started here instead.
int CQuilletDlg::ConvertRow(int row, CFileItem* item, CRunStep& step)
{
    m_currentIndex = row;
    m_currentItem = item;
    step.beginRow = row;
    step.beginAtZero = false;
    m_unsentStart = &step;
    int status = StatusFailed;
    if (item) {
        // The options are read for each file: a change from the Options menu
        // counts from the next file on.
        const int result = ConvertFile(item->path.c_str(), m_format, m_settings.m_keepTimestamps,
                                       m_settings.m_keepAttributes, m_settings.m_convertReadOnly,
                                       m_settings.m_backupOriginal, &m_sink);
        status = result == 0 ? StatusOk : StatusFailed;
    }
    if (m_unsentStart)
        SendStep(step);
    return status;
}

void CQuilletDlg::SendStep(CRunStep& step)
{
    m_unsentStart = nullptr;
    SendMessage(WM_APP_RUN_STEP, kNextRow, reinterpret_cast<LPARAM>(&step));
    step.finishedRow = -1;
}

// The steps of a run that the worker asks the window's thread to make; each
// is one message, so the worker waits for the window once per step.
void CQuilletDlg::OnRunStep(WPARAM kind, CRunStep& step)
{
    if (kind == kResetRows) {
        const int count = m_list.GetItemCount();
        step.items.resize(count);
        for (int row = 0; row < count; ++row) {
            step.items[row] = ItemAt(row);
            ApplyItemStatus(row, StatusNone);
        }
        m_runScroll.Reset();
        return;
    }
    if (step.finishedRow >= 0)
        ApplyItemStatus(step.finishedRow, step.finishedStatus);
    if (step.beginRow < 0) {
        UpdateTitle(-1, -1);
        ::KillTimer(m_hWnd, kRunScrollTimer);
        m_runScroll.Reset();
        if (step.finishedRow >= 0)
            m_list.EnsureVisible(step.finishedRow);
        return;
    }
    ApplyItemStatus(step.beginRow, StatusConverting);
    if (step.beginAtZero)
        m_list.SetItemText(step.beginRow, 2, L"0");
    ScrollRunRowIntoView(step.beginRow);
    UpdateTitle(step.beginRow, step.count);
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

void CQuilletDlg::OnRunFinished()
{
    if (m_pWorker) {
        // The worker has posted its last message, but the join still serves
        // sent messages in case it is anywhere short of its end.
        m_pWorker->Join();
        m_pWorker.reset();
    }
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
    // One message to the window's thread, which makes the row's changes
    // there: the worker pays for one round trip instead of four.
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
    if (CRunStep* step = o.m_unsentStart) {
        step->beginAtZero = true;
        o.SendStep(*step);
    } else {
        o.m_list.SetItemText(o.m_currentIndex, 2, L"0");
    }
    return 0;
}

int CQuilletDlg::CRowProgress::OnProgress(int doneKiB)
{
    CQuilletDlg& o = m_owner;
    if (o.m_currentIndex < 0)
        return -1;
    // Only a change of the shown number costs a message to the window.
    int percent = 0;
    if (o.m_progress.Advance(doneKiB, ::GetTickCount64(), percent))
        o.m_list.SetItemText(o.m_currentIndex, 2, std::to_wstring(percent));
    return 0;
}
