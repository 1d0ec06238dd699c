#include "CTestControlsDlg.h"

#include "CUniqueHandle.h"
#include "TestResource.h"

#include <commctrl.h>
#include <cwchar>

namespace {
const UINT kRunScript = WM_APP + 17;

const wchar_t* const kRows[][3] = {
    {L"beta.txt", L"C:\\work", L"OK"},
    {L"alpha.cpp", L"D:\\src", L"Failed"},
    {L"gamma.h", L"C:\\include", L"Converting"},
};
}

const wchar_t* TestCell(LPARAM row, int column)
{
    return kRows[row][column];
}

int CALLBACK CompareTestRows(LPARAM row1, LPARAM row2, LPARAM sortState)
{
    const auto* sort = reinterpret_cast<const CSortState*>(sortState);
    int order = std::wcscmp(TestCell(row1, sort->Column()), TestCell(row2, sort->Column()));
    return order * sort->Direction();
}

CTestControlsDlg::CTestControlsDlg(Script script) : CFrameDlg(IDD_TEST_CONTROLS), m_script(std::move(script))
{
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
    ::InitCommonControlsEx(&init);
}

void CTestControlsDlg::PumpFor(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < milliseconds) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    }
}

bool CTestControlsDlg::OnInitDialog()
{
    bool result = CFrameDlg::OnInitDialog();
    m_combo.Subclass(GetDlgItem(IDC_TEST_COMBO));
    m_list.Subclass(GetDlgItem(IDC_TEST_LIST));
    m_link.Subclass(GetDlgItem(IDC_TEST_LINK));
    m_mailLink.Subclass(GetDlgItem(IDC_TEST_MAIL_LINK));
    Tips().AddTool(GetDlgItem(IDC_TEST_DISABLED));
    FillControls();
    PostMessage(kRunScript);
    return result;
}

void CTestControlsDlg::FillControls()
{
    m_formatImages.Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0);
    for (COLORREF colour : {RGB(40, 110, 180), RGB(200, 120, 30), RGB(60, 150, 60)}) {
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        CBitmap bitmap(::CreateCompatibleBitmap(screen, 16, 16));
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ old = ::SelectObject(dc, bitmap.Get());
        RECT all{0, 0, 16, 16}, inner{2, 2, 14, 14};
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        CBrush brush(::CreateSolidBrush(colour));
        ::FillRect(dc, &inner, brush.Get());
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        m_formatImages.Add(bitmap.Get(), RGB(255, 255, 255));
    }
    m_combo.SetImageList(m_formatImages.Handle());
    m_combo.InsertItem(0, L"CRLF - Windows / Dos", 0);
    m_combo.InsertItem(1, L"CR - iOS / macOS / watchOS", 1);
    m_combo.InsertItem(2, L"LF - Android / Linux / Unix", 2);
    m_combo.SetCurSel(0);

    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    m_list.InsertColumnEx(0, L"File", -1, LVCFMT_LEFT, 150);
    m_list.InsertColumnEx(1, L"Folder", -1, LVCFMT_LEFT, 200);
    m_list.InsertColumnEx(2, L"Status", -1, LVCFMT_LEFT, 90);
    for (int row = 0; row < 3; ++row) {
        int index = m_list.InsertItem(row, TestCell(row, 0), -1, row);
        m_list.SetItemText(index, 1, TestCell(row, 1));
        m_list.SetItemText(index, 2, TestCell(row, 2));
    }
    m_arrows.CreateFromBitmap(::GetModuleHandleW(nullptr), IDB_TEST_SORT_ARROWS, 9, ILC_COLOR24 | ILC_MASK,
                              RGB(255, 0, 255));
    m_list.SetHeaderImageList(m_arrows.Handle());
    m_list.SetCompareFunction(CompareTestRows);

    m_link.SetLink(L"https://example.com/quillet");
    m_mailLink.SetLink(L"");
}

bool CTestControlsDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (msg == kRunScript) {
        if (m_script)
            m_script(*this);
        EndDialog(IDOK);
        return true;
    }
    return CFrameDlg::OnMessage(msg, wp, lp, result);
}

bool CTestControlsDlg::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDOK || id == IDCANCEL)
        return CFrameDlg::OnCommand(id, code, control);
    if (code == BN_CLICKED)
        m_commands.push_back(id);
    return true;
}

bool CTestControlsDlg::OnUpdateCommand(CCommandState& state)
{
    if (state.m_id == ID_TEST_HANDLED) {
        state.Enable();
        return true;
    }
    if (state.m_id == ID_TEST_CHECKED) {
        state.Check();
        return true;
    }
    return false;
}
