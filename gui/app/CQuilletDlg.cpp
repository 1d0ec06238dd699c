#include "CQuilletDlg.h"

#include "CApplication.h"
#include "CButton.h"
#include "CMenu.h"
#include "resource.h"

#include <commctrl.h>

namespace {
const COLORREF kMaskColour = RGB(255, 0, 255);
const wchar_t* const kFormatTexts[] = {L"CRLF - Windows / Dos", L"CR - iOS / macOS / watchOS",
                                       L"LF - Android / Linux / Unix"};
const int kFileColumnWidth = 240;
const int kStatusColumnWidth = 80;

void TurnOn(int option, std::atomic<int>& setting)
{
    if (option != -1)
        setting = 1;
}

HINSTANCE Module()
{
    return ::GetModuleHandleW(nullptr);
}

LayoutRect ToLayout(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

// The sum of the buttons' widths and the height of one: what the toolbar needs.
LayoutSize MeasureToolBar(const CToolBar& bar)
{
    LayoutSize size;
    for (int i = 0; i < bar.GetButtonCount(); ++i) {
        RECT r{};
        if (bar.GetItemRect(i, r)) {
            size.width += r.right - r.left;
            size.height = r.bottom - r.top;
        }
    }
    return size;
}

// The program is system-DPI aware: one DPI for the whole session.
int SystemDpi()
{
    static const int dpi = [] {
        HDC screen = ::GetDC(nullptr);
        const int value = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen)
            ::ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

void Defer(HDWP& batch, HWND window, const LayoutRect& r)
{
    if (batch && window)
        batch = ::DeferWindowPos(batch, window, nullptr, r.left, r.top, r.Width(), r.Height(),
                                 SWP_NOZORDER | SWP_NOACTIVATE);
}
}

CQuilletDlg::CQuilletDlg(CAppSettings& settings, CUiResources& ui, const CGuiCommandLine* commandLine)
    : CFrameDlg(IDD_QUILLET_DIALOG), m_settings(settings), m_ui(ui), m_commandLine(commandLine),
      m_format(commandLine && commandLine->m_format != -1 ? commandLine->m_format : settings.m_format),
      m_autoClose(settings.m_autoClose), m_alwaysOnTop(settings.m_alwaysOnTop)
{
    if (commandLine) {
        TurnOn(commandLine->m_keepTimestamps, settings.m_keepTimestamps);
        TurnOn(commandLine->m_keepAttributes, settings.m_keepAttributes);
        TurnOn(commandLine->m_convertReadOnly, settings.m_convertReadOnly);
        TurnOn(commandLine->m_backupOriginal, settings.m_backupOriginal);
    }
}

CQuilletDlg::~CQuilletDlg()
{
    m_settings.m_format = m_format;
    m_settings.m_alwaysOnTop = m_alwaysOnTop;
    // With a command line the box may have been forced by "-ac"; the user's
    // own choice is what is kept.
    if (!m_commandLine)
        m_settings.m_autoClose = m_autoClose;
}

bool CQuilletDlg::OnCreate()
{
    if (!CFrameDlg::OnCreate() || !CreateToolBars() || !CreateImageLists())
        return false;
    if (CApplication* app = CApplication::Current())
        app->SetMainWindow(m_hWnd);
    return true;
}

bool CQuilletDlg::CreateToolBars()
{
    const DWORD common = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TRANSPARENT | TBSTYLE_TOOLTIPS |
                         CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
    if (!m_menuBar.Create(m_hWnd, IDC_MENU_TOOLBAR, common))
        return false;
    m_menuBar.SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS);
    m_menuBar.SetBitmapSize(1, 1);
    const BYTE menuStyle = BTNS_AUTOSIZE | BTNS_SHOWTEXT | BTNS_WHOLEDROPDOWN;
    TBBUTTON menuButtons[] = {{I_IMAGENONE, ID_OPTIONS_MENU, TBSTATE_ENABLED, menuStyle, {}, 0, 0},
                              {I_IMAGENONE, ID_HELP_MENU, TBSTATE_ENABLED, menuStyle, {}, 0, 0}};
    if (!m_menuBar.AddButtons(menuButtons, 2))
        return false;
    m_menuBar.SetButtonText(ID_OPTIONS_MENU, L"Options");
    m_menuBar.SetButtonText(ID_HELP_MENU, L"Help");

    if (!m_fileBar.Create(m_hWnd, IDC_FILE_TOOLBAR, common))
        return false;
    m_fileBar.SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS | TBSTYLE_EX_HIDECLIPPEDBUTTONS);
    if (!m_fileBarImages.CreateFromBitmap(Module(), IDB_FILE_TOOLBAR32, 20, ILC_COLOR32 | ILC_MASK, kMaskColour))
        return false;
    m_fileBar.SetImageList(m_fileBarImages.Handle());
    const UINT ids[] = {ID_ADD_FILES, ID_ADD_FOLDER, ID_REMOVE, ID_REMOVE_ALL};
    const wchar_t* texts[] = {L"Add Files", L"Add Folder", L"Remove", L"Remove All"};
    for (int i = 0; i < 4; ++i) {
        TBBUTTON button{i, static_cast<int>(ids[i]), TBSTATE_ENABLED, BTNS_SHOWTEXT, {}, 0, 0};
        if (!m_fileBar.AddButtons(&button, 1))
            return false;
        m_fileBar.SetButtonText(ids[i], texts[i]);
    }
    AddUpdateToolbar(m_fileBar.Handle());
    return true;
}

bool CQuilletDlg::CreateImageLists()
{
    return m_stateImages.CreateFromBitmap(Module(), IDB_STATE_ICONS, 16, ILC_COLOR24 | ILC_MASK, kMaskColour) &&
           m_formatImages.CreateFromBitmap(Module(), IDB_FORMAT_ICONS, 16, ILC_COLOR24 | ILC_MASK, kMaskColour) &&
           m_sortArrows.CreateFromBitmap(Module(), IDB_SORT_ARROWS, 9, ILC_COLOR4 | ILC_MASK, kMaskColour);
}

bool CQuilletDlg::OnInitDialog()
{
    m_formatBox.Subclass(GetDlgItem(IDC_FORMAT_COMBO));
    m_list.Subclass(GetDlgItem(IDC_FILE_LIST));
    InitFormatBox();
    CFrameDlg::OnInitDialog();
    SetAccelerators(::LoadAcceleratorsW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME)));
    m_ui.CreateFonts(GetFont());
    m_menuBar.SetFont(m_ui.NormalFont());
    m_fileBar.SetFont(m_ui.NormalFont());
    m_menuBar.AutoSize();
    m_fileBar.AutoSize();
    GetDlgItem(IDC_CONVERT).SetFont(m_ui.BoldFont());
    LayoutControls();
    Tips().AddTool(GetDlgItem(IDC_CONVERT), L"Start Converting");
    Tips().AddTool(GetDlgItem(IDC_STOP), L"Stop Converting");
    m_formatBox.SetCurSel(m_format);
    InitFileList();
    ApplyAlwaysOnTop();
    if (m_commandLine && !m_commandLine->m_paths.empty()) {
        if (m_commandLine->m_autoClose) {
            CButton(GetDlgItem(IDC_AUTO_CLOSE)).SetCheck(BST_CHECKED);
            GetDlgItem(IDC_AUTO_CLOSE).Enable(false);
        }
        PostMessage(WM_APP_PROCESS_COMMAND_LINE);
    }
    return true;
}

void CQuilletDlg::InitFormatBox()
{
    m_formatBox.SetImageList(m_formatImages.Handle());
    for (int i = 0; i < 3; ++i)
        m_formatBox.InsertItem(i, kFormatTexts[i], i);
}

void CQuilletDlg::InitFileList()
{
    m_list.ModifyStyle(0, WS_CLIPCHILDREN);
    const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP;
    m_list.SetExtendedStyle(extended, extended);
    m_list.SetImageList(m_ui.SmallImageList().Handle(), LVSIL_SMALL);
    m_list.SetHeaderImageList(m_sortArrows.Handle());
    m_list.SetCompareFunction(&CQuilletDlg::CompareRows);
    // The run addresses rows by index: a reorder meanwhile would convert the wrong files.
    m_list.SetSortGuard([this] { return !IsRunning(); });
    m_list.SetImageList(m_stateImages.Handle(), LVSIL_STATE);
    RECT client = m_list.GetClientRect();
    const int folderWidth = (client.right - client.left) - ::GetSystemMetrics(SM_CXVSCROLL) - 320;
    m_list.InsertColumn(0, L"File", LVCFMT_LEFT, kFileColumnWidth);
    m_list.InsertColumn(1, L"Folder", LVCFMT_LEFT, folderWidth);
    m_list.InsertColumn(2, L"Status", LVCFMT_LEFT, kStatusColumnWidth);
}

void CQuilletDlg::DoDataExchange(CDataExchange& dx)
{
    dx.ComboIndex(IDC_FORMAT_COMBO, m_format);
    dx.Check(IDC_AUTO_CLOSE, m_autoClose);
    dx.Check(IDC_ALWAYS_ON_TOP, m_alwaysOnTop);
}

void CQuilletDlg::ApplyAlwaysOnTop()
{
    SetPos(m_alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CQuilletDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (msg) {
    case WM_APP_PROCESS_COMMAND_LINE:
        OnProcessCommandLine();
        result = 0;
        return true;
    case WM_APP_RUN_FINISHED:
        OnRunFinished();
        result = 0;
        return true;
    case WM_APP_RUN_RESET:
        OnRunReset(*reinterpret_cast<CRunReset*>(lp));
        result = 0;
        return true;
    case WM_APP_RUN_EVENTS:
        ApplyRunEvents();
        result = 0;
        return true;
    case WM_TIMER:
        if (wp == kRunScrollTimer)
            OnRunScrollTimer();
        else if (wp == kRunFrameTimer)
            PaintRunFrame();
        else
            return CFrameDlg::OnMessage(msg, wp, lp, result);
        result = 0;
        return true;
    case WM_APP_SET_ITEM_STATUS:
        ApplyItemStatus(static_cast<int>(wp), static_cast<int>(lp));
        result = 0;
        return true;
    default:
        return CFrameDlg::OnMessage(msg, wp, lp, result);
    }
}

bool CQuilletDlg::OnCommand(UINT id, UINT code, HWND)
{
    // Commands from buttons and check boxes come with BN_CLICKED (0), menus
    // and accelerators with 0 or 1; everything else is a control talking.
    if (code > 1)
        return false;
    // While a batch of rows goes in, nothing else may change the list.
    if (IsAddingRows() && (id == ID_ADD_FILES || id == ID_ADD_FOLDER || id == ID_REMOVE || id == ID_REMOVE_ALL ||
                           id == IDC_CONVERT))
        return true;
    switch (id) {
    case ID_ADD_FILES: OnAddFiles(); return true;
    case ID_ADD_FOLDER: OnAddFolder(); return true;
    case ID_REMOVE: OnRemove(); return true;
    case ID_REMOVE_ALL: OnRemoveAll(); return true;
    case ID_OPEN_FILE: OnOpenFile(); return true;
    case ID_OPEN_FOLDER: OnOpenFolder(); return true;
    case ID_KEEP_TIMESTAMPS: ToggleOption(m_settings.m_keepTimestamps); return true;
    case ID_KEEP_ATTRIBUTES: ToggleOption(m_settings.m_keepAttributes); return true;
    case ID_CONVERT_READONLY: ToggleOption(m_settings.m_convertReadOnly); return true;
    case ID_BACKUP_ORIGINAL: ToggleOption(m_settings.m_backupOriginal); return true;
    case IDC_CONVERT: OnConvert(); return true;
    case IDC_STOP: m_stopRequest = kStop; return true;
    case IDC_AUTO_CLOSE:
        m_autoClose = CButton(GetDlgItem(IDC_AUTO_CLOSE)).GetCheck() == BST_CHECKED;
        return true;
    case IDC_ALWAYS_ON_TOP:
        m_alwaysOnTop = CButton(GetDlgItem(IDC_ALWAYS_ON_TOP)).GetCheck() == BST_CHECKED;
        ApplyAlwaysOnTop();
        return true;
    default:
        // Preset Filters, Settings and the Help items go on to the application.
        return false;
    }
}

void CQuilletDlg::ToggleOption(std::atomic<int>& option)
{
    option = option ? 0 : 1;
}

FileListState CQuilletDlg::ListState() const
{
    return {IsRunning(), m_list.GetItemCount(), m_list.GetSelectedCount()};
}

bool CQuilletDlg::OnUpdateCommand(CCommandState& state)
{
    bool enabled = true;
    if (DecideFileListCommand(state.m_id, ListState(), enabled)) {
        state.Enable(enabled);
        return true;
    }
    switch (state.m_id) {
    case ID_KEEP_TIMESTAMPS: state.Check(m_settings.m_keepTimestamps != 0); break;
    case ID_KEEP_ATTRIBUTES: state.Check(m_settings.m_keepAttributes != 0); break;
    case ID_CONVERT_READONLY: state.Check(m_settings.m_convertReadOnly != 0); break;
    case ID_BACKUP_ORIGINAL: state.Check(m_settings.m_backupOriginal != 0); break;
    default: return false;
    }
    state.Enable(true);
    return true;
}

bool CQuilletDlg::OnNotify(NMHDR* header, LRESULT& result)
{
    if (header->idFrom == IDC_FILE_LIST) {
        switch (header->code) {
        case LVN_DELETEITEM:
            // Every way a row goes ends here, so this is where its item is freed.
            std::unique_ptr<CFileItem>(reinterpret_cast<CFileItem*>(reinterpret_cast<NMLISTVIEW*>(header)->lParam));
            result = 0;
            return true;
        case LVN_GETDISPINFOW:
            OnGetRowText(*reinterpret_cast<NMLVDISPINFOW*>(header));
            result = 0;
            return true;
        case NM_DBLCLK:
            OnListDoubleClick();
            result = 0;
            return true;
        case NM_CUSTOMDRAW:
            result = OnListCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
            return true;
        default:
            break;
        }
    }
    if (header->code == TBN_DROPDOWN &&
        (header->hwndFrom == m_menuBar.Handle() || header->hwndFrom == m_fileBar.Handle())) {
        ShowToolbarPopup(*reinterpret_cast<NMTOOLBARW*>(header));
        result = TBDDRET_DEFAULT;
        return true;
    }
    return CFrameDlg::OnNotify(header, result);
}

void CQuilletDlg::ShowToolbarPopup(const NMTOOLBARW& info)
{
    int position = info.iItem == ID_OPTIONS_MENU ? 0 : info.iItem == ID_HELP_MENU ? 1 : -1;
    if (position < 0)
        return;
    CMenu menu;
    if (!menu.Load(Module(), IDR_POPUP_MENUS))
        return;
    RECT button = info.rcButton;
    ::MapWindowPoints(info.hdr.hwndFrom, nullptr, reinterpret_cast<POINT*>(&button), 2);
    TPMPARAMS params{sizeof(params), button};
    ::TrackPopupMenuEx(menu.GetSubMenu(position).Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, button.left,
                       button.bottom, m_hWnd, &params);
}

bool CQuilletDlg::OnSize(UINT type, int, int)
{
    if (type != SIZE_MINIMIZED)
        LayoutControls();
    return false;
}

void CQuilletDlg::LayoutControls()
{
    RECT cr = GetClientRect();
    if (::IsIconic(m_hWnd) || cr.right == 0 || cr.bottom == 0 || !m_list.IsWindow())
        return;
    // The toolbars' sizes are measured once and kept for the process.
    static const LayoutSize menuSize = MeasureToolBar(m_menuBar);
    static const LayoutSize fileSize = MeasureToolBar(m_fileBar);
    auto at = [this](int id) { return ToLayout(GetDlgItem(id).GetRectInParent()); };
    MainLayout current;
    current.close = at(IDOK);
    current.onTop = at(IDC_ALWAYS_ON_TOP);
    current.autoClose = at(IDC_AUTO_CLOSE);
    // The box's height is its closed height; the template's is the dropped list's.
    current.format = at(IDC_FORMAT_COMBO);
    current.label = at(IDC_FORMAT_LABEL);
    current.list = at(IDC_FILE_LIST);
    const MainLayout l = ComputeMainLayout(ToLayout(cr), menuSize, fileSize, current, SystemDpi());

    HDWP batch = ::BeginDeferWindowPos(12);
    Defer(batch, m_menuBar.Handle(), l.menuBar);
    Defer(batch, m_fileBar.Handle(), l.fileBar);
    Defer(batch, GetDlgItem(IDOK), l.close);
    Defer(batch, GetDlgItem(IDC_CONVERT), l.convert);
    Defer(batch, GetDlgItem(IDC_STOP), l.convert);
    Defer(batch, GetDlgItem(IDC_ALWAYS_ON_TOP), l.onTop);
    Defer(batch, GetDlgItem(IDC_AUTO_CLOSE), l.autoClose);
    Defer(batch, GetDlgItem(IDC_FORMAT_COMBO), l.format);
    Defer(batch, GetDlgItem(IDC_FORMAT_LABEL), l.label);
    Defer(batch, m_list.Handle(), l.list);
    if (batch)
        ::EndDeferWindowPos(batch);
}

bool CQuilletDlg::OnGetMinMaxInfo(MINMAXINFO* info)
{
    info->ptMinTrackSize = {ScaleForDpi(kMinWindowWidth, SystemDpi()), ScaleForDpi(kMinWindowHeight, SystemDpi())};
    return true;
}

bool CQuilletDlg::OnLButtonDown(UINT, POINT)
{
    // A press on the window's own background moves it like its caption.
    ::ReleaseCapture();
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return true;
}

void CQuilletDlg::OnDestroy()
{
    // Destroyed while a run goes on (not through Close): the worker still
    // uses this object, so it is stopped and waited for first.
    if (m_pWorker) {
        m_stopRequest = kStopAndClose;
        m_pWorker->Join();
        m_pWorker.reset();
    }
    m_list.DeleteAllItems();
    if (CApplication* app = CApplication::Current(); app && app->MainWindow() == m_hWnd)
        app->SetMainWindow(nullptr);
    CFrameDlg::OnDestroy();
}
