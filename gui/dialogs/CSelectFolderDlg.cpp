#include "CSelectFolderDlg.h"

#include "FilterCombo.h"
#include "SelectFolderLayout.h"
#include "resource.h"

#include <shlwapi.h>
#include <vector>

namespace {
// Which control each rectangle of the layout belongs to.
struct ControlSlot {
    int id;
    LayoutRect SelectFolderControls::*rect;
};
const ControlSlot kControlSlots[] = {
    {IDC_FOLDER_PROMPT, &SelectFolderControls::prompt},
    {IDC_FOLDER_TREE, &SelectFolderControls::tree},
    {IDC_FOLDER_FILTER_LABEL, &SelectFolderControls::filterLabel},
    {IDC_FOLDER_FILTER_COMBO, &SelectFolderControls::filterCombo},
    {IDC_FOLDER_SCAN_SUBFOLDERS, &SelectFolderControls::scanCheck},
    {IDOK, &SelectFolderControls::ok},
    {IDCANCEL, &SelectFolderControls::cancel},
    {IDC_SIZE_GRIP, &SelectFolderControls::sizeGrip},
};

LayoutRect ToLayout(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

// Moves all controls in one batch, so the dialog repaints once per size change.
class CDeferredMoves {
public:
    explicit CDeferredMoves(int count) : m_positions(::BeginDeferWindowPos(count)) {}
    ~CDeferredMoves()
    {
        if (m_positions)
            ::EndDeferWindowPos(m_positions);
    }
    CDeferredMoves(const CDeferredMoves&) = delete;
    CDeferredMoves& operator=(const CDeferredMoves&) = delete;

    void Move(HWND window, const LayoutRect& r)
    {
        // A failed step frees the batch; later moves are then made one by one.
        if (m_positions)
            m_positions = ::DeferWindowPos(m_positions, window, nullptr, r.left, r.top, r.Width(), r.Height(),
                                           SWP_NOZORDER | SWP_NOACTIVATE);
        if (!m_positions)
            ::SetWindowPos(window, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }

private:
    HDWP m_positions;
};
}

CSelectFolderDlg::CSelectFolderDlg(CAppSettings& settings) : CDialog(IDD_SELECT_FOLDER), m_settings(settings) {}

CSelectFolderDlg::~CSelectFolderDlg() = default;

bool CSelectFolderDlg::OnCreate()
{
    if (!CDialog::OnCreate())
        return false;
    m_sizeGrip = ::CreateWindowExW(0, L"SCROLLBAR", L"",
                                   WS_CHILD | WS_VISIBLE | SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN | SBS_SIZEGRIP,
                                   0, 0, 200, 200, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SIZE_GRIP)),
                                   ::GetModuleHandleW(nullptr), nullptr);
    return m_sizeGrip != nullptr;
}

bool CSelectFolderDlg::OnInitDialog()
{
    bool result = CDialog::OnInitDialog();
    // A modal frame shows no icon in the caption.
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, GetExStyle() | WS_EX_DLGMODALFRAME);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    TrimSystemMenu();

    m_tree.SubclassTree(GetDlgItem(IDC_FOLDER_TREE));
    m_filterCombo.Subclass(GetDlgItem(IDC_FOLDER_FILTER_COMBO));
    RECT client = GetClientRect();
    LayoutControls(client.right, client.bottom);
    if (!m_title.empty())
        SetText(m_title);

    if (HTREEITEM root = m_tree.FillRoot())
        m_tree.Expand(root);
    m_filterCombo.SetEditText(m_filterText);
    FillFilterCombo(m_filterCombo, m_settings.m_presets, m_filterText, true);

    if (!m_initialFolder.empty() && ::PathFileExistsW(m_initialFolder.c_str()))
        StartPreselection();
    return result;
}

void CSelectFolderDlg::TrimSystemMenu() const
{
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (!menu)
        return;
    for (UINT command : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE})
        ::DeleteMenu(menu, command, MF_BYCOMMAND);
}

void CSelectFolderDlg::DoDataExchange(CDataExchange& dx)
{
    if (!dx.IsSaving()) {
        std::wstring prompt = m_prompt;
        dx.Text(IDC_FOLDER_PROMPT, prompt);
    }
    dx.Check(IDC_FOLDER_SCAN_SUBFOLDERS, m_scanSubfolders);
}

void CSelectFolderDlg::StartPreselection()
{
    std::vector<wchar_t> pretty(m_initialFolder.begin(), m_initialFolder.end());
    pretty.push_back(L'\0');
    ::PathMakePrettyW(pretty.data());
    m_preselect = m_tree.BeginPathWalk(pretty.data());
    // The steps run once the dialog is on the screen. A timer message is made
    // only when no other message and no input waits, so whatever the user
    // does goes first; a posted message would go before the input.
    if (!m_preselect || !::SetTimer(m_hWnd, kPreselectTimerId, USER_TIMER_MINIMUM, nullptr)) {
        // Without a timer the walk runs here, before the dialog shows.
        if (m_preselect)
            m_tree.SelectPath(pretty.data());
        EndPreselection();
    }
}

bool CSelectFolderDlg::OnTimer(UINT_PTR id)
{
    if (id != kPreselectTimerId)
        return false;
    RunPreselectionStep();
    return true;
}

void CSelectFolderDlg::RunPreselectionStep()
{
    if (!m_preselect) {
        EndPreselection();
        return;
    }
    m_inPreselectStep = true;
    const auto step = m_tree.StepPathWalk(*m_preselect);
    m_inPreselectStep = false;
    if (step != CShellTreeCtrl::CPathWalk::Result::kContinue)
        EndPreselection();
}

void CSelectFolderDlg::EndPreselection()
{
    ::KillTimer(m_hWnd, kPreselectTimerId);
    if (!m_preselect)
        return;
    m_preselect.reset();
    PostMessage(kPreselectDone);
}

bool CSelectFolderDlg::OnNotify(NMHDR* header, LRESULT& result)
{
    // A selection the user makes (a click, a key, typing a name) ends the
    // pre-selection: it never overrides the user's choice, and the level it
    // is still loading no longer scrolls the tree.
    if (header->idFrom == IDC_FOLDER_TREE && header->code == TVN_SELCHANGEDW && m_preselect && !m_inPreselectStep) {
        m_tree.LeaveViewAlone();
        EndPreselection();
    }
    return CDialog::OnNotify(header, result);
}

bool CSelectFolderDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (msg == kPreselectDone) {
        result = 0;
        return true;
    }
    return CDialog::OnMessage(msg, wp, lp, result);
}

bool CSelectFolderDlg::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_FOLDER_FILTER_COMBO && code == CBN_SELCHANGE) {
        OnFilterComboSelChange(m_filterCombo, m_settings.m_presets);
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CSelectFolderDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    m_filterText = GetFilterComboResult(m_filterCombo, m_settings.m_presets);
    // Empty for an item outside the file system, such as My Computer.
    m_selectedFolder = m_tree.GetSelectedPath();
    m_settings.m_lastFilter = m_filterText;
    m_settings.m_scanSubfolders = m_scanSubfolders;
    m_settings.m_lastFolder = m_selectedFolder;
    EndDialog(IDOK);
}

void CSelectFolderDlg::OnDestroy()
{
    // No step may reach the tree after this.
    ::KillTimer(m_hWnd, kPreselectTimerId);
    m_preselect.reset();
    CDialog::OnDestroy();
}

bool CSelectFolderDlg::OnSize(UINT, int cx, int cy)
{
    if (m_tree.IsWindow())
        LayoutControls(cx, cy);
    return false;
}

void CSelectFolderDlg::LayoutControls(int width, int height) const
{
    SelectFolderControls now;
    for (const ControlSlot& slot : kControlSlots)
        now.*slot.rect = ToLayout(GetDlgItem(slot.id).GetRectInParent());
    const SelectFolderControls placed = LayoutSelectFolder(now, width, height, ::GetSystemMetrics(SM_CXVSCROLL),
                                                           ::GetSystemMetrics(SM_CYHSCROLL));
    CDeferredMoves moves(static_cast<int>(std::size(kControlSlots)));
    for (const ControlSlot& slot : kControlSlots)
        moves.Move(GetDlgItem(slot.id), placed.*slot.rect);
}

bool CSelectFolderDlg::OnGetMinMaxInfo(MINMAXINFO* info)
{
    info->ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
    return true;
}

bool CSelectFolderDlg::OnLButtonDown(UINT, POINT)
{
    // Dragging the free client area moves the window, as the caption does.
    DWORD at = ::GetMessagePos();
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(at));
    return true;
}
