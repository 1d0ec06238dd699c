#include "CMinimalMainDlg.h"

#include "CApplication.h"
#include "CButton.h"
#include "CComboBoxEx.h"
#include "CListView.h"
#include "resource.h"

namespace {
const wchar_t* const kFormatTexts[] = {L"CRLF - Windows / Dos", L"CR - iOS / macOS / watchOS",
                                       L"LF - Android / Linux / Unix"};

void TurnOn(int option, std::atomic<int>& setting)
{
    if (option != -1)
        setting = 1;
}

HICON LoadIconSized(int size)
{
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                           size, size, size ? 0 : LR_DEFAULTSIZE));
}
}

CMinimalMainDlg::CMinimalMainDlg(CAppSettings& settings, CUiResources& ui, const CGuiCommandLine* commandLine)
    : CDialog(IDD_QUILLET_DIALOG), m_settings(settings), m_ui(ui), m_commandLine(commandLine),
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

CMinimalMainDlg::~CMinimalMainDlg()
{
    m_settings.m_format = m_format;
    m_settings.m_alwaysOnTop = m_alwaysOnTop;
    // With a command line the check box may have been forced by "-ac"; the
    // user's own choice is what is kept.
    if (!m_commandLine)
        m_settings.m_autoClose = m_autoClose;
}

bool CMinimalMainDlg::OnCreate()
{
    m_largeIcon.Reset(LoadIconSized(0));
    m_smallIcon.Reset(LoadIconSized(16));
    if (CApplication* app = CApplication::Current())
        app->SetMainWindow(m_hWnd);
    return true;
}

bool CMinimalMainDlg::OnInitDialog()
{
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_largeIcon.Get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
    m_ui.CreateFonts(GetFont());
    GetDlgItem(IDC_CONVERT).SetFont(m_ui.BoldFont());
    // Converting arrives with the full main window; until then the button only shows its place.
    GetDlgItem(IDC_CONVERT).Enable(false);
    InitFormatBox();
    InitFileList();
    CDialog::OnInitDialog();
    ApplyAlwaysOnTop();
    if (m_commandLine && !m_commandLine->m_paths.empty() && m_commandLine->m_autoClose) {
        CButton(GetDlgItem(IDC_AUTO_CLOSE)).SetCheck(BST_CHECKED);
        GetDlgItem(IDC_AUTO_CLOSE).Enable(false);
    }
    return true;
}

void CMinimalMainDlg::InitFormatBox()
{
    CComboBoxEx box(GetDlgItem(IDC_FORMAT_COMBO));
    if (m_formatImages.CreateFromBitmap(::GetModuleHandleW(nullptr), IDB_FORMAT_ICONS, 16, ILC_COLOR24 | ILC_MASK,
                                        RGB(255, 0, 255)))
        box.SetImageList(m_formatImages.Handle());
    for (int i = 0; i < 3; ++i) {
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(kFormatTexts[i]);
        item.iImage = item.iSelectedImage = i;
        box.InsertItem(item);
    }
}

void CMinimalMainDlg::InitFileList()
{
    CListView list(GetDlgItem(IDC_FILE_LIST));
    list.ModifyStyle(0, WS_CLIPCHILDREN);
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP,
                          LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP);
    list.SetImageList(m_ui.SmallImageList().Handle(), LVSIL_SMALL);
    RECT client = list.GetClientRect();
    int folderWidth = (client.right - client.left) - ::GetSystemMetrics(SM_CXVSCROLL) - 320;
    list.InsertColumn(0, L"File", LVCFMT_LEFT, 240);
    list.InsertColumn(1, L"Folder", LVCFMT_LEFT, folderWidth);
    list.InsertColumn(2, L"Status", LVCFMT_LEFT, 80);
}

void CMinimalMainDlg::DoDataExchange(CDataExchange& dx)
{
    dx.ComboIndex(IDC_FORMAT_COMBO, m_format);
    dx.Check(IDC_AUTO_CLOSE, m_autoClose);
    dx.Check(IDC_ALWAYS_ON_TOP, m_alwaysOnTop);
}

bool CMinimalMainDlg::OnCommand(UINT id, UINT code, HWND)
{
    if (code != BN_CLICKED)
        return false;
    if (id == IDC_AUTO_CLOSE) {
        m_autoClose = CButton(GetDlgItem(IDC_AUTO_CLOSE)).GetCheck() == BST_CHECKED;
        return true;
    }
    if (id == IDC_ALWAYS_ON_TOP) {
        m_alwaysOnTop = CButton(GetDlgItem(IDC_ALWAYS_ON_TOP)).GetCheck() == BST_CHECKED;
        ApplyAlwaysOnTop();
        return true;
    }
    return false;
}

void CMinimalMainDlg::ApplyAlwaysOnTop()
{
    SetPos(m_alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool CMinimalMainDlg::OnGetMinMaxInfo(MINMAXINFO* info)
{
    info->ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
    return true;
}

void CMinimalMainDlg::OnDestroy()
{
    if (CApplication* app = CApplication::Current(); app && app->MainWindow() == m_hWnd)
        app->SetMainWindow(nullptr);
}
