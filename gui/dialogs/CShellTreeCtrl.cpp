#include "CShellTreeCtrl.h"

#include "CCoTaskMem.h"
#include "ShellChildrenRules.h"
#include "ShellPathParts.h"

#include <shellapi.h>
#include <shlwapi.h>
#include <algorithm>
#include <cwchar>

namespace {
const size_t kMaxNameChars = 260;
// Names for items outside the file system too (mingw's headers lack it).
const DWORD kIncludeNonFileSystemNames = 0x2000;

// The small system icon of an absolute list; `open` asks for the open-folder form.
int SmallIconIndex(const ITEMIDLIST* absolute, bool open)
{
    SHFILEINFOW info{};
    UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0);
    if (!::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolute), 0, &info, sizeof(info), flags))
        return 0;
    return info.iIcon;
}

// A display name in whichever form the shell returned it, at most 260 characters.
std::wstring StrRetToString(STRRET& name, const ITEMIDLIST* id)
{
    std::wstring text;
    switch (name.uType) {
    case STRRET_WSTR: {
        CCoTaskMem<wchar_t> owned(name.pOleStr);
        if (owned)
            text.assign(owned.get(), wcsnlen(owned.get(), kMaxNameChars));
        break;
    }
    case STRRET_OFFSET: {
        const char* ansi = reinterpret_cast<const char*>(id) + name.uOffset;
        wchar_t wide[kMaxNameChars + 1] = {};
        ::MultiByteToWideChar(CP_ACP, 0, ansi, static_cast<int>(strnlen(ansi, kMaxNameChars)), wide, kMaxNameChars);
        text = wide;
        break;
    }
    case STRRET_CSTR: {
        wchar_t wide[kMaxNameChars + 1] = {};
        ::MultiByteToWideChar(CP_ACP, 0, name.cStr, static_cast<int>(strnlen(name.cStr, sizeof(name.cStr))), wide,
                              kMaxNameChars);
        text = wide;
        break;
    }
    default:
        break;
    }
    return text;
}

std::wstring DisplayName(IShellFolder* folder, const ITEMIDLIST* child)
{
    STRRET name{};
    if (FAILED(folder->GetDisplayNameOf(child, SHGDN_INFOLDER | kIncludeNonFileSystemNames, &name)))
        return {};
    return StrRetToString(name, child);
}

// Asked apart from the other attributes: the shell may read the folder for it.
bool ReportsSubfolders(IShellFolder* folder, const ITEMIDLIST* child)
{
    SFGAOF attributes = SFGAO_HASSUBFOLDER;
    const ITEMIDLIST* ids[] = {child};
    return SUCCEEDED(folder->GetAttributesOf(1, ids, &attributes)) && (attributes & SFGAO_HASSUBFOLDER);
}

CShellTreeItem* DataOf(LPARAM param)
{
    return reinterpret_cast<CShellTreeItem*>(param);
}
}

CShellTreeCtrl::CShellTreeCtrl() = default;

CShellTreeCtrl::~CShellTreeCtrl()
{
    if (IsWindow()) {
        FreeAllItemData();
        DeleteAllItems();
    }
}

bool CShellTreeCtrl::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    // The items' data is freed here rather than left to the deletion notices
    // of the window's own destruction, which go to a parent that may already
    // be on its way out.
    if (msg == WM_DESTROY) {
        AbandonLoading();
        // Hidden items go without the tree working out the rows below each
        // one, which takes minutes for thousands of shown folders under Wine.
        if (HTREEITEM root = GetRoot())
            Expand(root, TVE_COLLAPSE);
        FreeAllItemData();
    }
    return CLoadingTreeCtrl::OnMessage(msg, wp, lp, result);
}

// Frees every item's data and leaves the items with none, so no later
// deletion notice frees anything twice. Redrawing stays off: the items are
// about to go, and a tree that repaints after each change takes seconds.
void CShellTreeCtrl::FreeAllItemData()
{
    SendMessage(WM_SETREDRAW, FALSE);
    HTREEITEM item = GetRoot();
    while (item) {
        TVITEMW data{};
        data.mask = TVIF_PARAM;
        data.hItem = item;
        if (GetItem(data) && data.lParam) {
            std::unique_ptr<CShellTreeItem> owned(DataOf(data.lParam));
            data.lParam = 0;
            SetItem(data);
        }
        // Depth first: the first child, else the next sibling of the item or
        // of its nearest ancestor that has one.
        HTREEITEM next = GetChild(item);
        while (!next && item) {
            next = GetNextSibling(item);
            if (!next)
                item = GetParentItem(item);
        }
        item = next;
    }
}

bool CShellTreeCtrl::SubclassTree(HWND tree)
{
    if (!Subclass(tree))
        return false;
    if (!m_desktop && FAILED(::SHGetDesktopFolder(&m_desktop)))
        return false;
    CItemIdList desktop;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, desktop.Put())))
        return true;
    SHFILEINFOW info{};
    auto images = reinterpret_cast<HIMAGELIST>(::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(desktop.Get()), 0, &info,
                                                                sizeof(info),
                                                                SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (images)
        SetImageList(images, TVSIL_NORMAL);
    return true;
}

HTREEITEM CShellTreeCtrl::FillRoot()
{
    CItemIdList desktop;
    if (!m_desktop || FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, desktop.Put())))
        return nullptr;
    return InsertShellItem(TVI_ROOT, m_desktop.Get(), nullptr, desktop.Get(), 0);
}

CShellTreeCtrl::CPendingItem CShellTreeCtrl::ReadShellItem(IShellFolder* parentFolder, const ITEMIDLIST* parentList,
                                                          const ITEMIDLIST* child, UINT flags) const
{
    CPendingItem pending;
    auto data = std::make_unique<CShellTreeItem>();
    data->absolute = CItemIdList::Combine(parentList, child);
    if (!data->absolute)
        return pending;
    data->parentFolder = CComPtr<IShellFolder>(parentFolder);
    data->flags = flags;

    pending.text = DisplayName(parentFolder, child);
    // Subfolders are asked for apart, and only where the rule needs them.
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_LINK | SFGAO_SHARE | SFGAO_GHOSTED | SFGAO_REMOVABLE;
    const ITEMIDLIST* ids[] = {child};
    if (FAILED(parentFolder->GetAttributesOf(1, ids, &attributes)))
        attributes = 0;
    if (attributes & SFGAO_GHOSTED)
        pending.state |= TVIS_CUT;
    if (attributes & SFGAO_SHARE)
        pending.state |= INDEXTOOVERLAYMASK(kShareOverlay);
    else if (attributes & SFGAO_LINK)
        pending.state |= INDEXTOOVERLAYMASK(kLinkOverlay);
    pending.button = ShowsChildrenButton((attributes & SFGAO_FOLDER) != 0, (flags & kIncludeNonFolders) != 0,
                                         (attributes & SFGAO_REMOVABLE) != 0,
                                         [&] { return ReportsSubfolders(parentFolder, child); });
    pending.data = std::move(data);
    return pending;
}

HTREEITEM CShellTreeCtrl::InsertPendingItem(HTREEITEM parent, CPendingItem& pending)
{
    if (!pending.data)
        return nullptr;
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    TVITEMW& item = insert.item;
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
    item.pszText = pending.text.data();
    // The shell's icon look-up costs more the wider the folder is (under
    // Wine milliseconds per item in a folder of thousands); asked for when
    // drawn, it is paid for the rows a person actually sees.
    item.iImage = I_IMAGECALLBACK;
    item.iSelectedImage = I_IMAGECALLBACK;
    item.stateMask = TVIS_CUT | TVIS_OVERLAYMASK;
    item.state = pending.state;
    item.cChildren = pending.button ? 1 : 0;
    item.lParam = reinterpret_cast<LPARAM>(pending.data.get());

    HTREEITEM inserted = InsertItem(insert);
    if (inserted)
        pending.data.release();  // the item owns it now; TVN_DELETEITEM frees it
    return inserted;
}

HTREEITEM CShellTreeCtrl::InsertShellItem(HTREEITEM parent, IShellFolder* parentFolder, const ITEMIDLIST* parentList,
                                          const ITEMIDLIST* child, UINT flags)
{
    CPendingItem pending = ReadShellItem(parentFolder, parentList, child, flags);
    return InsertPendingItem(parent, pending);
}

CComPtr<IShellFolder> CShellTreeCtrl::BindToFolder(const CShellTreeItem& data) const
{
    if (data.absolute.IsEmpty())
        return m_desktop;
    CComPtr<IShellFolder> folder;
    if (FAILED(m_desktop->BindToObject(data.absolute.Get(), nullptr, IID_IShellFolder,
                                       reinterpret_cast<void**>(&folder))))
        return {};
    return folder;
}

// Reads a folder's children a few at a time into a list, and puts them all
// into the tree at the end, sorted as the folder sorts them.
class CShellTreeCtrl::CShellChildLoader : public CLoadingTreeCtrl::CChildLoader {
public:
    CShellChildLoader(CShellTreeCtrl& tree, HTREEITEM item, const CShellTreeItem& data)
        : m_tree(tree), m_item(item), m_list(CItemIdList::Copy(data.absolute.Get())), m_flags(data.flags)
    {
    }

    bool ReadSome(ULONGLONG deadline) override
    {
        if (!m_started)
            Start();
        while (m_items) {
            if (::GetTickCount64() >= deadline)
                return false;
            CItemIdList child;
            ULONG fetched = 0;
            // The list is adopted when the call's full expression ends, so it
            // is checked in a statement of its own.
            const HRESULT next = m_items->Next(1, child.Put(), &fetched);
            if (next != S_OK || !child) {
                m_items.Release();
                break;
            }
            CPendingItem pending = m_tree.ReadShellItem(m_folder.Get(), m_list.Get(), child.Get(), m_flags);
            if (pending.data) {
                m_pending.push_back(std::move(pending));
                m_tree.ReportProgress(static_cast<int>(m_pending.size()), 0);
            }
            if (m_tree.m_childInsertedHook)
                m_tree.m_childInsertedHook(static_cast<int>(m_pending.size()));
        }
        return true;
    }

    bool Finish() override
    {
        int count = 0;
        for (CPendingItem& pending : m_pending) {
            if (m_tree.InsertPendingItem(m_item, pending))
                ++count;
        }
        m_pending.clear();
        if (count > 0)
            m_tree.SortChildren(m_item, m_folder.Get());
        m_tree.ReportProgress(1, 1);
        return m_tree.KeepsChildren(m_item, m_enumerated);
    }

private:
    void Start()
    {
        m_started = true;
        if (!m_list || !m_tree.m_desktop)
            return;
        CShellTreeItem data;
        data.absolute = CItemIdList::Copy(m_list.Get());
        m_folder = m_tree.BindToFolder(data);
        if (!m_folder)
            return;
        DWORD contents = SHCONTF_FOLDERS;
        if (m_flags & kIncludeNonFolders)
            contents |= SHCONTF_NONFOLDERS;
        if (m_flags & kIncludeHidden)
            contents |= SHCONTF_INCLUDEHIDDEN;
        m_enumerated = SUCCEEDED(m_folder->EnumObjects(m_tree.m_hWnd, contents, &m_items));
        m_tree.ReportProgress(0, 0);
    }

    CShellTreeCtrl& m_tree;
    HTREEITEM m_item;
    CItemIdList m_list;  // the item's absolute list, a copy of its own
    UINT m_flags;
    bool m_started = false;
    bool m_enumerated = false;
    CComPtr<IShellFolder> m_folder;
    CComPtr<IEnumIDList> m_items;
    std::vector<CPendingItem> m_pending;
};

std::unique_ptr<CLoadingTreeCtrl::CChildLoader> CShellTreeCtrl::BeginLoad(HTREEITEM item)
{
    const CShellTreeItem* data = ItemData(item);
    if (!data || !m_desktop)
        return nullptr;
    return std::make_unique<CShellChildLoader>(*this, item, *data);
}

// An empty removable or network folder may have been read too early: leave
// it to be read again.
bool CShellTreeCtrl::KeepsChildren(HTREEITEM item, bool enumerated) const
{
    if (!enumerated)
        return true;
    std::wstring path = GetItemPath(item);
    const bool onDrive = path.size() >= 3;
    const bool fixed = onDrive && ::GetDriveTypeW(path.substr(0, 3).c_str()) == DRIVE_FIXED;
    return KeepsLoadedChildren(enumerated, onDrive, fixed);
}

void CShellTreeCtrl::SortChildren(HTREEITEM item, IShellFolder* folder) const
{
    TVSORTCB sort{};
    sort.hParent = item;
    sort.lpfnCompare = CompareChildren;
    sort.lParam = reinterpret_cast<LPARAM>(folder);
    SendMessage(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

int CALLBACK CShellTreeCtrl::CompareChildren(LPARAM first, LPARAM second, LPARAM folder)
{
    const CShellTreeItem* a = DataOf(first);
    const CShellTreeItem* b = DataOf(second);
    if (!a || !b)
        return 0;
    HRESULT hr = reinterpret_cast<IShellFolder*>(folder)->CompareIDs(0, a->LastId(), b->LastId());
    if (FAILED(hr))
        return 0;
    return static_cast<short>(HRESULT_CODE(hr));
}

const CShellTreeItem* CShellTreeCtrl::ItemData(HTREEITEM item) const
{
    return item ? DataOf(GetItemData(item)) : nullptr;
}

std::wstring CShellTreeCtrl::GetItemPath(HTREEITEM item) const
{
    const CShellTreeItem* data = ItemData(item);
    wchar_t path[MAX_PATH] = {};
    if (!data || !::SHGetPathFromIDListW(data->absolute.Get(), path))
        return {};
    return path;
}

std::wstring CShellTreeCtrl::GetSelectedPath() const
{
    return GetItemPath(GetSelection());
}

HTREEITEM CShellTreeCtrl::FindChildItem(HTREEITEM parent, const ITEMIDLIST* list) const
{
    const ITEMIDLIST* wanted = CItemIdList::LastId(list);
    if (!wanted)
        return nullptr;
    for (HTREEITEM child = GetChild(parent); child; child = GetNextSibling(child)) {
        const CShellTreeItem* data = ItemData(child);
        if (!data || !data->parentFolder)
            continue;
        HRESULT hr = data->parentFolder->CompareIDs(0, data->LastId(), wanted);
        if (SUCCEEDED(hr) && HRESULT_CODE(hr) == 0)
            return child;
    }
    return nullptr;
}

std::unique_ptr<CShellTreeCtrl::CPathWalk> CShellTreeCtrl::BeginPathWalk(const std::wstring& path)
{
    HTREEITEM root = GetRoot();
    CItemIdList drives;
    if (!root || FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.Put())))
        return nullptr;
    // The desktop's few items are wanted at once, to find My Computer.
    if (LoadingItem() == root)
        FinishLoading();
    Expand(root);
    HTREEITEM myComputer = FindChildItem(root, drives.Get());
    if (!myComputer)
        return nullptr;
    auto walk = std::make_unique<CPathWalk>();
    walk->m_parts = AccumulatedPathParts(path);
    walk->m_current = myComputer;
    return walk;
}

CShellTreeCtrl::CPathWalk::Result CShellTreeCtrl::StepPathWalk(CPathWalk& walk)
{
    using Result = CPathWalk::Result;
    if (HTREEITEM loading = LoadingItem())
        return loading == walk.m_current ? Result::kContinue : Result::kNotFound;
    if (!walk.m_expanded) {
        walk.m_expanded = true;
        ExpandInSlices(walk.m_current);
        if (LoadingItem() == walk.m_current)
            return Result::kContinue;
    }
    if (walk.m_next >= walk.m_parts.size()) {
        SelectItem(walk.m_current);
        return Result::kFound;
    }
    const std::wstring& part = walk.m_parts[walk.m_next++];
    CItemIdList list;
    ULONG eaten = 0;
    if (FAILED(m_desktop->ParseDisplayName(m_hWnd, nullptr, const_cast<wchar_t*>(part.c_str()), &eaten, list.Put(),
                                           nullptr)))
        return Result::kNotFound;
    HTREEITEM found = FindChildItem(walk.m_current, list.Get());
    if (!found)
        return Result::kNotFound;
    walk.m_current = found;
    walk.m_expanded = false;
    return Result::kContinue;
}

bool CShellTreeCtrl::SelectPath(const std::wstring& path)
{
    std::unique_ptr<CPathWalk> walk = BeginPathWalk(path);
    if (!walk)
        return false;
    for (;;) {
        switch (StepPathWalk(*walk)) {
        case CPathWalk::Result::kFound:
            return true;
        case CPathWalk::Result::kNotFound:
            return false;
        case CPathWalk::Result::kContinue:
            // Here every level is wanted now.
            if (LoadingItem())
                FinishLoading();
            break;
        }
    }
}

bool CShellTreeCtrl::OnReflectedNotify(NMHDR* header, LRESULT& result)
{
    switch (header->code) {
    case TVN_DELETEITEMW: {
        const auto& info = *reinterpret_cast<const NMTREEVIEWW*>(header);
        std::unique_ptr<CShellTreeItem> owned(DataOf(info.itemOld.lParam));
        // The loading tree follows deletions too.
        return CLoadingTreeCtrl::OnReflectedNotify(header, result);
    }
    case TVN_GETDISPINFOW:
        FillDisplayInfo(*reinterpret_cast<NMTVDISPINFOW*>(header));
        result = 0;
        return true;
    default:
        return CLoadingTreeCtrl::OnReflectedNotify(header, result);
    }
}

// The icons are left to this callback; the rest is set at insertion and
// answered here should it ever be left to the callback too.
void CShellTreeCtrl::FillDisplayInfo(NMTVDISPINFOW& info) const
{
    const CShellTreeItem* data = DataOf(info.item.lParam);
    if (!data || !data->parentFolder)
        return;
    const ITEMIDLIST* child = data->LastId();
    if ((info.item.mask & TVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
        std::wstring text = DisplayName(data->parentFolder.Get(), child);
        lstrcpynW(info.item.pszText, text.c_str(), info.item.cchTextMax);
    }
    if (info.item.mask & TVIF_IMAGE) {
        if (data->icon < 0)
            data->icon = SmallIconIndex(data->absolute.Get(), false);
        info.item.iImage = data->icon;
    }
    if (info.item.mask & TVIF_SELECTEDIMAGE) {
        // Folders show the open-folder icon while selected.
        if (data->openIcon < 0)
            data->openIcon = SmallIconIndex(data->absolute.Get(), true);
        info.item.iSelectedImage = data->openIcon;
    }
    // The tree keeps the answers, so each icon is looked up once.
    info.item.mask |= TVIF_DI_SETITEM;
    if (info.item.mask & TVIF_CHILDREN) {
        const ITEMIDLIST* ids[] = {child};
        SFGAOF attributes = SFGAO_FOLDER | SFGAO_REMOVABLE;
        if (FAILED(data->parentFolder->GetAttributesOf(1, ids, &attributes)))
            attributes = 0;
        info.item.cChildren = ShowsChildrenButton((attributes & SFGAO_FOLDER) != 0,
                                                  (data->flags & kIncludeNonFolders) != 0,
                                                  (attributes & SFGAO_REMOVABLE) != 0,
                                                  [&] { return ReportsSubfolders(data->parentFolder.Get(), child); });
    }
}
