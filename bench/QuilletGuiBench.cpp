// Times the main window adding every file of a folder (filter "*", with
// subfolders) against the console's listing of the same folder, and how long
// the window went without serving its queue meanwhile.
//   quillet_gui_bench <folder>
// Prints "list_ms=<n> add_ms=<n> rows=<n> files=<n> longest_gap_ms=<n>
// bare_insert_ms=<n> bare_send_us=<n>": the last two are references for the
// platform: as many rows inserted into a bare report list (no styles, images
// or parent handling; redrawing off), and one SendMessage from another thread
// to the window, on average.
#include "CFolderScan.h"
#include "CQuilletDlg.h"
#include "CUniqueHandle.h"
#include "fs/Win32FileSystem.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {
const UINT kRun = WM_APP + 5;
const UINT_PTR kTick = 7;

double Milliseconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

class CBenchDlg : public CQuilletDlg {
public:
    CBenchDlg(CAppSettings& settings, CUiResources& ui, std::wstring folder)
        : CQuilletDlg(settings, ui, nullptr), m_folder(std::move(folder))
    {
    }

    double m_listMs = 0, m_addMs = 0, m_longestGapMs = 0, m_bareInsertMs = 0, m_sendUs = 0;
    size_t m_files = 0;
    int m_rows = 0;

protected:
    bool OnInitDialog() override
    {
        bool result = CQuilletDlg::OnInitDialog();
        PostMessage(kRun);
        return result;
    }

    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        if (msg == kRun) {
            Run();
            EndDialog(IDOK);
            return true;
        }
        if (msg == WM_TIMER && wp == kTick) {
            // A timer message is served only when the window looks at its queue.
            double gap = Milliseconds(m_lastTick);
            if (gap > m_longestGapMs)
                m_longestGapMs = gap;
            m_lastTick = std::chrono::steady_clock::now();
            return true;
        }
        return CQuilletDlg::OnMessage(msg, wp, lp, result);
    }

private:
    void Run()
    {
        qlfs::CWin32FileSystem fs;
        std::vector<std::wstring> listed;
        auto start = std::chrono::steady_clock::now();
        VisitedFolders visited;
        CFolderScan(fs, L"*", true, visited, [&](const std::wstring& path) { listed.push_back(path); }).Scan(m_folder);
        m_listMs = Milliseconds(start);
        m_files = listed.size();

        ::SetTimer(m_hWnd, kTick, 10, nullptr);
        m_lastTick = start = std::chrono::steady_clock::now();
        m_rows = AddFolderToList(m_folder, L"*", true);
        m_addMs = Milliseconds(start);
        ::KillTimer(m_hWnd, kTick);
        m_bareInsertMs = TimeBareInserts(m_rows);
        m_sendUs = TimeCrossThreadSend(2000);
    }

    double TimeBareInserts(int rows)
    {
        HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 400, 200, m_hWnd, nullptr,
                                      nullptr, nullptr);
        for (int column = 0; column < 3; ++column) {
            LVCOLUMNW info{};
            info.mask = LVCF_WIDTH;
            info.cx = 100;
            ::SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
        }
        ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < rows; ++i) {
            LVITEMW row{};
            row.mask = LVIF_TEXT | LVIF_PARAM;
            row.iItem = i;
            row.pszText = LPSTR_TEXTCALLBACKW;
            ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
        }
        const double ms = Milliseconds(start);
        ::DestroyWindow(list);
        return ms;
    }

    // Round trips of a message sent from a second thread to this window, which
    // this thread serves while it waits for that thread.
    double TimeCrossThreadSend(int count)
    {
        struct Job {
            HWND window;
            int count;
        } job{m_hWnd, count};
        auto start = std::chrono::steady_clock::now();
        CHandle thread(::CreateThread(nullptr, 0, [](void* p) -> DWORD {
            auto* j = static_cast<Job*>(p);
            for (int i = 0; i < j->count; ++i)
                ::SendMessageW(j->window, WM_NULL, 0, 0);
            return 0;
        }, &job, 0, nullptr));
        HANDLE wait = thread.Get();
        while (wait && ::MsgWaitForMultipleObjects(1, &wait, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        return Milliseconds(start) * 1000.0 / count;
    }

    std::wstring m_folder;
    std::chrono::steady_clock::time_point m_lastTick;
};
}

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    CAppSettings settings;
    CUiResources ui;
    if (!ui.LoadSystemImageLists())
        return 1;
    CBenchDlg dlg(settings, ui, argv[1]);
    dlg.DoModal();
    std::printf("list_ms=%.0f add_ms=%.0f rows=%d files=%zu longest_gap_ms=%.0f bare_insert_ms=%.0f bare_send_us=%.1f\n",
                dlg.m_listMs, dlg.m_addMs, dlg.m_rows, dlg.m_files, dlg.m_longestGapMs, dlg.m_bareInsertMs, dlg.m_sendUs);
    return 0;
}
