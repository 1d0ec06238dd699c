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
    const int count = m_list.GetItemCount();
    // Rows neither move nor go while a run is active (sorting and removing
    // are refused), so their items are read once.
    std::vector<CFileItem*> items(count);
    for (int row = 0; row < count; ++row)
        items[row] = ItemAt(row);
    SendMessage(WM_APP_RUN_STEP, kResetRows, count);
    for (int row = 0; row < count && m_stopRequest == kNoStop; ++row)
        ConvertRow(row, count, items[row]);
    m_currentIndex = -1;
    m_currentItem = nullptr;
    UpdateTitle(-1, -1);
    PostMessage(WM_APP_RUN_FINISHED);
    return 0;
}

void CQuilletDlg::ConvertRow(int row, int count, CFileItem* item)
{
    m_currentIndex = row;
    m_currentItem = item;
    // Converting status, caption and scrolling in one round trip.
    m_runCount = count;
    SendMessage(WM_APP_RUN_STEP, kBeginRow, row);
    if (!item) {
        SetItemStatus(row, StatusFailed);
        return;
    }
    // The options are read for each file: a change from the Options menu
    // counts from the next file on.
    const int result = ConvertFile(item->path.c_str(), m_format, m_settings.m_keepTimestamps,
                                   m_settings.m_keepAttributes, m_settings.m_convertReadOnly,
                                   m_settings.m_backupOriginal, &m_sink);
    SetItemStatus(row, result == 0 ? StatusOk : StatusFailed);
}

// The steps of a run that the worker asks the window's thread to make; each
// is one message, so the worker waits for the window once per step.
void CQuilletDlg::OnRunStep(WPARAM step, LPARAM value)
{
    const int row = static_cast<int>(value);
    if (step == kResetRows) {
        for (int i = 0; i < row; ++i)
            ApplyItemStatus(i, StatusNone);
    } else if (step == kBeginRow) {
        ApplyItemStatus(row, StatusConverting);
        UpdateTitle(row, m_runCount);
        m_list.EnsureVisible(row);
    }
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

void CQuilletDlg::OnOK()
{
    if (m_pWorker) {
        m_stopRequest = kStopAndClose;
        return;
    }
    if (IsAddingRows()) {
        m_closeAfterAdding = true;
        m_abandonAdding = true;
        return;
    }
    CFrameDlg::OnOK();
}

void CQuilletDlg::OnCancel()
{
    if (m_pWorker) {
        m_stopRequest = kStopAndClose;
        return;
    }
    if (IsAddingRows()) {
        m_closeAfterAdding = true;
        m_abandonAdding = true;
        return;
    }
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
    o.m_list.SetItemText(o.m_currentIndex, 2, L"0");
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
