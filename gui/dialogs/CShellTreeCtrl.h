#pragma once
// Classes: CShellTreeCtrl, a CLoadingTreeCtrl filled from the Windows shell
// namespace, from the desktop down. Each item owns a CShellTreeItem (its
// parent folder and its absolute item-ID list), freed when the item is
// deleted. A folder is enumerated on its first expansion and kept; its
// children's icons are asked for when they are first drawn, since the shell
// takes long to find them in a wide folder. All shell objects are used on
// the tree's own thread only.
#include "CComPtr.h"
#include "CItemIdList.h"
#include "CLoadingTreeCtrl.h"

#include <shlobj.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The data behind one tree item.
struct CShellTreeItem {
    CComPtr<IShellFolder> parentFolder;
    CItemIdList absolute;  // the parent's absolute list followed by the item's own ID
    UINT flags = 0;        // kIncludeNonFolders, kIncludeHidden
    // The small system icons, looked up when the item is first drawn; -1 until then.
    mutable int icon = -1;
    mutable int openIcon = -1;

    const ITEMIDLIST* LastId() const { return CItemIdList::LastId(absolute.Get()); }
};

class CShellTreeCtrl : public CLoadingTreeCtrl {
public:
    static constexpr UINT kIncludeNonFolders = 0x1;
    static constexpr UINT kIncludeHidden = 0x2;
    // Overlay images of the system list: shared items, links.
    static constexpr UINT kShareOverlay = 1;
    static constexpr UINT kLinkOverlay = 2;

    CShellTreeCtrl();
    ~CShellTreeCtrl() override;

    // Takes over the dialog's tree control: subclasses it and gives it the
    // system's small icons.
    bool SubclassTree(HWND tree);
    // Inserts the desktop as the only root item.
    HTREEITEM FillRoot();

    // The selected item's file-system path, or "" (no selection, or a
    // virtual item such as My Computer).
    std::wstring GetSelectedPath() const;
    std::wstring GetItemPath(HTREEITEM item) const;
    // Expands the tree along the path and selects the path's folder.
    bool SelectPath(const std::wstring& path);
    // The child of `parent` that stands for the same shell item as the last
    // ID of `list`, as the child's parent folder compares them; or null.
    HTREEITEM FindChildItem(HTREEITEM parent, const ITEMIDLIST* list) const;
    const CShellTreeItem* ItemData(HTREEITEM item) const;

    // SelectPath in steps, so that a caller can run one step at a time (from
    // a timer) and stop at any time in between. A step opens one level in
    // slices (kContinue while it loads) or moves one level down. A loading
    // of another item, started by the user, ends the walk (kNotFound).
    class CPathWalk {
    public:
        enum class Result { kContinue, kFound, kNotFound };

    private:
        friend class CShellTreeCtrl;
        std::vector<std::wstring> m_parts;
        size_t m_next = 0;
        HTREEITEM m_current = nullptr;
        bool m_expanded = false;  // m_current has been asked to expand
    };
    std::unique_ptr<CPathWalk> BeginPathWalk(const std::wstring& path);
    CPathWalk::Result StepPathWalk(CPathWalk& walk);

    // Test hook: called after each child that a loading reads, with the
    // count so far; a test can slow the loading down or look at the tree.
    void SetChildInsertedHook(std::function<void(int count)> hook) { m_childInsertedHook = std::move(hook); }

    bool OnReflectedNotify(NMHDR* header, LRESULT& result) override;

protected:
    std::unique_ptr<CChildLoader> BeginLoad(HTREEITEM item) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

    // One child, read from the shell but not yet in the tree.
    struct CPendingItem {
        std::unique_ptr<CShellTreeItem> data;
        std::wstring text;
        UINT state = 0;
        bool button = false;
    };
    CPendingItem ReadShellItem(IShellFolder* parentFolder, const ITEMIDLIST* parentList, const ITEMIDLIST* child,
                               UINT flags) const;
    HTREEITEM InsertPendingItem(HTREEITEM parent, CPendingItem& pending);
    HTREEITEM InsertShellItem(HTREEITEM parent, IShellFolder* parentFolder, const ITEMIDLIST* parentList,
                              const ITEMIDLIST* child, UINT flags);
    CComPtr<IShellFolder> BindToFolder(const CShellTreeItem& data) const;
    IShellFolder* Desktop() const { return m_desktop.Get(); }

private:
    class CShellChildLoader;
    friend class CShellChildLoader;

    void FillDisplayInfo(NMTVDISPINFOW& info) const;
    void FreeAllItemData();
    void SortChildren(HTREEITEM item, IShellFolder* folder) const;
    bool KeepsChildren(HTREEITEM item, bool enumerated) const;
    static int CALLBACK CompareChildren(LPARAM first, LPARAM second, LPARAM folder);

    CComPtr<IShellFolder> m_desktop;
    std::function<void(int)> m_childInsertedHook;
};
