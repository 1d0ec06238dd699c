// CQuilletDlg: filling, emptying and opening the file list.
#include "CQuilletDlg.h"

#include "BackgroundFolderScan.h"
#include "CFolderScan.h"
#include "CMenu.h"
#include "COEFileDialog.h"
#include "FileNameFilter.h"
#include "PathFileName.h"
#include "ShellOpen.h"
#include "fs/Win32FileSystem.h"
#include "resource.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <system_error>

namespace {
// How long a batch of rows may hold the window before it serves its queue,
// and how often the list shows the rows added so far: each showing makes the
// list measure and paint itself, which is too slow to do at every slice.
const ULONGLONG kResponsiveSliceMs = 50;
const ULONGLONG kShowRowsEveryMs = 1000;

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The small system icon for a name alone, so the file itself is never opened.
int ShellSmallIconIndex(const std::wstring& path, bool folder)
{
    SHFILEINFOW info{};
    const DWORD attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (!::SHGetFileInfoW(path.c_str(), attributes, &info, sizeof(info),
                          SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        return -1;
    return info.iIcon;
}
}

// Asked by the name alone, the shell's answer for a file depends only on its
// extension, so one question per extension serves a whole folder scan.
int CQuilletDlg::SmallIconIndex(const std::wstring& path, bool folder)
{
    if (folder)
        return ShellSmallIconIndex(path, true);
    std::wstring_view name = FileNameOfPath(path, true);
    const size_t dot = name.rfind(L'.');
    std::wstring extension(dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot));
    for (wchar_t& c : extension)
        c = LowerAsciiLetter(c);
    auto known = m_iconByExtension.find(extension);
    if (known != m_iconByExtension.end())
        return known->second;
    const int index = ShellSmallIconIndex(path, false);
    m_iconByExtension.emplace(std::move(extension), index);
    return index;
}

CFileItem* CQuilletDlg::ItemAt(int row) const
{
    return reinterpret_cast<CFileItem*>(m_list.GetItemData(row));
}

int CQuilletDlg::AddFileToList(const std::wstring& path)
{
    return AddRow(path, IsFolder(path));
}

int CQuilletDlg::AddRow(const std::wstring& path, bool isFolder)
{
    auto item = std::make_unique<CFileItem>();
    item->path = path;
    LVITEMW row{};
    row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    row.iItem = m_list.GetItemCount();
    // The list asks for the name and folder when it shows them (OnGetRowText),
    // so a row costs no copies of its texts.
    row.pszText = LPSTR_TEXTCALLBACKW;
    row.iImage = SmallIconIndex(path, isFolder);
    row.lParam = reinterpret_cast<LPARAM>(item.get());
    const int index = m_list.InsertItem(row);
    if (index < 0)
        return -1;
    // The row owns the item now; LVN_DELETEITEM frees it.
    item.release();
    if (IsAddingRows()) {
        // The view follows once, when the batch ends.
        KeepResponsive();
        return 0;
    }
    m_list.EnsureVisible(index);
    UpdateFileCountHeader();
    return 0;
}

int CQuilletDlg::AddFolderToList(const std::wstring& folder, const std::wstring& filter, bool scanSubfolders)
{
    // "" is what Select Folder gives for an item that is no folder; scanning
    // it would list the current directory of the current drive.
    if (folder.empty())
        return 0;
    // The console's scan: the same order, and no folder listed twice in one scan.
    qlfs::CWin32FileSystem fs;
    VisitedFolders visited;
    std::unique_ptr<CBackgroundFolderScan> listing;
    try {
        listing = std::make_unique<CBackgroundFolderScan>(fs, folder, filter, scanSubfolders, visited);
    } catch (const std::system_error&) {
        // No thread for the listing: the folder is listed here, row by row.
    }
    BeginAddingRows();
    int added = 0;
    if (listing) {
        added = AddListedRows(*listing);
    } else {
        CFolderScan scan(fs, filter, scanSubfolders, visited, [this, &added](const std::wstring& path) {
            if (!m_abandonAdding && AddRow(path, false) == 0)
                ++added;
        });
        scan.Scan(folder);
    }
    EndAddingRows();
    return added;
}

// Adds the files as the listing finds them, serving the window's queue while
// it waits for more.
int CQuilletDlg::AddListedRows(CBackgroundFolderScan& listing)
{
    int added = 0;
    std::vector<std::wstring> found;
    while (!m_abandonAdding && listing.Take(found, static_cast<unsigned>(kResponsiveSliceMs))) {
        for (const std::wstring& path : found) {
            // The scan hands over files only.
            if (m_abandonAdding)
                break;
            if (AddRow(path, false) == 0)
                ++added;
        }
        KeepResponsive();
    }
    return added;
}

void CQuilletDlg::BeginAddingRows()
{
    if (m_addingDepth++ == 0) {
        m_list.SendMessage(WM_SETREDRAW, FALSE);
        m_lastPump = m_lastShown = ::GetTickCount64();
    }
}

void CQuilletDlg::EndAddingRows()
{
    if (--m_addingDepth > 0)
        return;
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
    if (int count = m_list.GetItemCount(); count > 0)
        m_list.EnsureVisible(count - 1);
    UpdateFileCountHeader();
    m_abandonAdding = false;
    if (m_closeAfterAdding) {
        m_closeAfterAdding = false;
        PostMessage(WM_COMMAND, IDCANCEL);
    }
}

// Serves the window's queue between rows of a long batch: the window paints,
// moves and answers the worker, and the rows so far become visible. Commands
// that would change the list are held back meanwhile (OnCommand), a close
// ends the batch early.
void CQuilletDlg::KeepResponsive()
{
    const ULONGLONG now = ::GetTickCount64();
    if (now - m_lastPump < kResponsiveSliceMs)
        return;
    const bool showRows = now - m_lastShown >= kShowRowsEveryMs;
    if (showRows) {
        m_lastShown = now;
        m_list.SendMessage(WM_SETREDRAW, TRUE);
        m_list.Invalidate(false);
    }
    MSG msg;
    while (!m_abandonAdding && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_abandonAdding = true;
            break;
        }
        if (!PreTranslateMessage(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (showRows)
        m_list.SendMessage(WM_SETREDRAW, FALSE);
    m_lastPump = ::GetTickCount64();
}

void CQuilletDlg::OnGetRowText(NMLVDISPINFOW& info) const
{
    LVITEMW& row = info.item;
    const auto* item = reinterpret_cast<const CFileItem*>(row.lParam);
    if (!(row.mask & LVIF_TEXT) || !row.pszText || row.cchTextMax <= 0)
        return;
    std::wstring text;
    if (item && row.iSubItem == 0)
        text = FileNameOfPath(item->path, true);
    else if (item && row.iSubItem == 1)
        text = FolderOfPath(item->path);
    // The status column holds its own texts once a run has set them.
    const size_t length = std::min(text.size(), static_cast<size_t>(row.cchTextMax - 1));
    text.copy(row.pszText, length);
    row.pszText[length] = L'\0';
}

void CQuilletDlg::UpdateFileCountHeader()
{
    m_list.SetColumnText(0, FileColumnCaption(m_list.GetItemCount()));
}

std::wstring CQuilletDlg::ProposedFilter() const
{
    return m_settings.m_defaultFilter.empty() ? m_settings.m_lastFilter : m_settings.m_defaultFilter;
}

void CQuilletDlg::OnAddFiles()
{
    std::vector<std::wstring> paths;
    if (!PromptForFiles(paths) || paths.empty())
        return;
    BeginAddingRows();
    for (const std::wstring& path : paths)
        AddFileToList(path);
    EndAddingRows();
    m_settings.m_lastFolder = FolderOfPath(paths.back());
}

bool CQuilletDlg::PromptForFiles(std::vector<std::wstring>& paths)
{
    const std::wstring filter = m_settings.BuildFileDialogFilter();
    COEFileDialog dialog(true, nullptr, nullptr, OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         filter.c_str(), m_hWnd);
    dialog.SetTitle(L"Add Files");
    dialog.SetInitialDir(m_settings.m_lastFolder);
    if (dialog.DoModal() != IDOK)
        return false;
    paths = dialog.Paths();
    return true;
}

void CQuilletDlg::OnAddFolder()
{
    std::wstring folder;
    std::wstring filter = ProposedFilter();
    bool scanSubfolders = m_settings.m_scanSubfolders != 0;
    if (PromptForFolder(folder, filter, scanSubfolders))
        AddFolderToList(folder, filter, scanSubfolders);
}

void CQuilletDlg::AddFoldersWithPrompt(const std::vector<std::wstring>& folders, bool scanSubfolders)
{
    std::wstring filter = ProposedFilter();
    if (!PromptForFolders(folders, filter, scanSubfolders))
        return;
    BeginAddingRows();
    for (const std::wstring& folder : folders)
        AddFolderToList(folder, filter, scanSubfolders);
    EndAddingRows();
}

bool CQuilletDlg::OnDropFiles(HDROP drop)
{
    ::SetForegroundWindow(m_hWnd);
    ::SetActiveWindow(m_hWnd);
    if (IsAddingRows()) {
        ::DragFinish(drop);
        return true;
    }
    std::vector<std::wstring> folders;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    BeginAddingRows();
    for (UINT i = 0; i < count; ++i) {
        // Sized from the path itself, so no dropped path is ever cut short.
        std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        if (IsFolder(path))
            folders.push_back(path);
        else
            AddFileToList(path);
    }
    EndAddingRows();
    ::DragFinish(drop);
    if (!folders.empty()) {
        const bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
        AddFoldersWithPrompt(folders, ctrl || m_settings.m_scanSubfolders != 0);
    }
    return true;
}

void CQuilletDlg::OnProcessCommandLine()
{
    if (!m_commandLine || m_commandLine->m_paths.empty())
        return;
    bool autoStart = m_commandLine->m_autoStart;
    std::vector<std::wstring> folders;
    BeginAddingRows();
    for (const std::wstring& path : m_commandLine->m_paths) {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            continue;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            folders.push_back(path);
        else
            AddFileToList(path);
    }
    if (!folders.empty() && !m_commandLine->m_filter.empty()) {
        for (const std::wstring& folder : folders)
            AddFolderToList(folder, m_commandLine->m_filter, m_commandLine->m_scanSubfolders);
    }
    EndAddingRows();
    if (!folders.empty()) {
        if (m_commandLine->m_filter.empty())
            AddFoldersWithPrompt(folders, m_commandLine->m_scanSubfolders);
        // What a folder brings in was not seen by whoever asked for the start.
        autoStart = false;
    }
    ::SetForegroundWindow(m_hWnd);
    ::BringWindowToTop(m_hWnd);
    if (autoStart && m_format != -1)
        PostMessage(WM_COMMAND, IDC_CONVERT);
}

void CQuilletDlg::OnRemove()
{
    int row;
    while ((row = m_list.FirstSelected()) != -1)
        m_list.DeleteItem(row);
    UpdateFileCountHeader();
}

void CQuilletDlg::OnRemoveAll()
{
    m_list.DeleteAllItems();
    UpdateFileCountHeader();
}

void CQuilletDlg::OnListDoubleClick()
{
    if (m_list.FirstSelected() == -1) {
        if (!IsAddingRows())
            OnAddFiles();
    } else {
        OnOpenFile();
    }
}

void CQuilletDlg::OnOpenFile()
{
    const int row = m_list.FirstSelected();
    if (row == -1 || !ItemAt(row))
        return;
    const std::wstring& viewer = m_settings.m_fileViewer;
    const bool viewerExists = !viewer.empty() && ::PathFileExistsW(viewer.c_str());
    Launch(OpenFileRequest(ItemAt(row)->path, viewer, viewerExists), SW_SHOW);
}

void CQuilletDlg::OnOpenFolder()
{
    const int row = m_list.FirstSelected();
    if (row == -1 || !ItemAt(row))
        return;
    Launch(OpenFolderRequest(ItemAt(row)->path), SW_SHOWNORMAL);
}

void CQuilletDlg::Launch(const ShellRequest& request, int show) const
{
    // Failures are not reported: the user sees that nothing opened.
    ShellOpen({m_hWnd, request.verb, request.file, request.parameters, show});
}

bool CQuilletDlg::OnContextMenu(HWND window, POINT point)
{
    if (window != m_list.Handle())
        return false;
    CMenu menu;
    if (!menu.Load(::GetModuleHandleW(nullptr), IDR_POPUP_MENUS))
        return true;
    const int selected = m_list.FirstSelected();
    if (point.x == -1 && point.y == -1) {
        // From the keyboard: at the first selected row's icon, else near the list's corner.
        RECT icon{};
        RECT client = m_list.GetClientRect();
        POINT at{client.left + 5, client.top + 5};
        if (selected != -1 && m_list.GetItemRect(selected, icon, LVIR_ICON)) {
            POINT centre{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
            if (::PtInRect(&client, centre))
                at = centre;
        }
        point = at;
        ::ClientToScreen(m_list.Handle(), &point);
    }
    CMenuHandle popup = menu.GetSubMenu(2);
    popup.SetDefaultItem(selected != -1 ? ID_OPEN_FILE : ID_ADD_FILES);
    popup.TrackPopup(TPM_RIGHTBUTTON, point.x, point.y, m_hWnd);
    return true;
}

int CALLBACK CQuilletDlg::CompareRows(LPARAM item1, LPARAM item2, LPARAM sortState)
{
    const auto* a = reinterpret_cast<const CFileItem*>(item1);
    const auto* b = reinterpret_cast<const CFileItem*>(item2);
    const auto* sort = reinterpret_cast<const CSortState*>(sortState);
    if (!a || !b || !sort)
        return 0;
    return CompareFileItems(*a, *b, sort->Column(), sort->Direction());
}
