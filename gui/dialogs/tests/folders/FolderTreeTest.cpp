#include <gtest/gtest.h>

#include "CComInitializer.h"
#include "CFolderTreeCtrl.h"
#include "FolderTestSupport.h"
#include "Screenshot.h"
#include "resource.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <set>
#include <string>

namespace {
// The dialog's folder tree, recording what the loading shows and counting
// context menus instead of showing them.
class CTestFolderTree : public CFolderTreeCtrl {
public:
    int m_loadsBegun = 0;
    std::wstring m_placeholderText;
    bool m_placeholderLastChild = false;
    int m_menusTracked = 0;
    bool m_showRealMenu = false;
    int m_realMenuItems = 0;
    // Answers every loading as an empty removable drive would.
    bool m_loadAsEmptyRemovable = false;

    POINT m_menuPoint{};

protected:
    // Reads nothing and asks to be read again, as an empty removable drive does.
    class CEmptyRemovable : public CChildLoader {
        bool ReadSome(ULONGLONG) override { return true; }
        bool Finish() override { return false; }
    };
    std::unique_ptr<CChildLoader> BeginLoad(HTREEITEM item) override
    {
        if (m_loadAsEmptyRemovable)
            return std::make_unique<CEmptyRemovable>();
        return CFolderTreeCtrl::BeginLoad(item);
    }
    void OnLoadingBegin(HTREEITEM placeholder) override
    {
        ++m_loadsBegun;
        m_placeholderText = GetItemText(placeholder);
        m_placeholderLastChild = GetParentItem(placeholder) == LoadingItem() && !GetNextSibling(placeholder);
        CFolderTreeCtrl::OnLoadingBegin(placeholder);
    }
    bool TrackContextMenu(HMENU menu, POINT at) override
    {
        ++m_menusTracked;
        m_menuPoint = at;
        if (!m_showRealMenu)
            return true;
        m_realMenuItems = ::GetMenuItemCount(menu);
        return CFolderTreeCtrl::TrackContextMenu(menu, at);
    }
};

// The Select Folder template with nothing but the tree brought to life.
class CTreeHostDlg : public CDialog {
public:
    CTreeHostDlg() : CDialog(IDD_SELECT_FOLDER) {}
    CTestFolderTree m_tree;

protected:
    bool OnInitDialog() override
    {
        bool result = CDialog::OnInitDialog();
        m_tree.SubclassTree(GetDlgItem(IDC_FOLDER_TREE));
        if (HTREEITEM root = m_tree.FillRoot())
            m_tree.Expand(root);
        return result;
    }
};
using CTreeDlg = CScripted<CTreeHostDlg>;

TVITEMW ItemState(const CTreeView& tree, HTREEITEM item)
{
    TVITEMW state{};
    state.mask = TVIF_CHILDREN | TVIF_STATE;
    state.stateMask = TVIS_EXPANDED;
    state.hItem = item;
    tree.GetItem(state);
    return state;
}

HTREEITEM Ancestor(const CTreeView& tree, HTREEITEM item, int levels)
{
    while (item && levels-- > 0)
        item = tree.GetParentItem(item);
    return item;
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}
}  // namespace

TEST(CShellTreeCtrl, OpensFromTheDesktopThroughMyComputerDownToAFolderAndFreesEveryList)
{
    CComInitializer com;
    CTestFolders folders;
    const long listsBefore = CItemIdList::LiveCount();
    CTreeDlg dlg([](CTreeDlg& d) {
        CTestFolderTree& tree = d.m_tree;
        HTREEITEM root = tree.GetRoot();
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(tree.GetNextSibling(root), nullptr);
        ASSERT_NE(tree.ItemData(root), nullptr);
        EXPECT_TRUE(tree.ItemData(root)->absolute.IsEmpty());  // the desktop

        ASSERT_TRUE(tree.SelectPath(CTestFolders::Deep()));
        HTREEITEM leaf = tree.GetSelection();
        EXPECT_TRUE(SamePath(tree.GetSelectedPath(), CTestFolders::Deep()));
        // Leaf, Er, Deep, QuilletFolderTest, C:, My Computer, the desktop.
        HTREEITEM drive = Ancestor(tree, leaf, 4);
        HTREEITEM myComputer = Ancestor(tree, leaf, 5);
        EXPECT_EQ(Ancestor(tree, leaf, 6), root);
        EXPECT_TRUE(SamePath(tree.GetItemPath(drive), L"C:\\"));

        // The leaf was opened on the way and, having no subfolders, lost its button.
        EXPECT_EQ(ItemState(tree, leaf).cChildren, 0);
        EXPECT_EQ(tree.m_placeholderText, CLoadingTreeCtrl::kPlaceholderText);
        EXPECT_TRUE(tree.m_placeholderLastChild);

        // A loaded folder opens again at once: no new loading, same children.
        const int loads = tree.m_loadsBegun;
        HTREEITEM deep = Ancestor(tree, leaf, 2);
        tree.Expand(deep, TVE_COLLAPSE);
        EXPECT_FALSE(ItemState(tree, deep).state & TVIS_EXPANDED);
        tree.Expand(deep, TVE_EXPAND);
        EXPECT_TRUE(ItemState(tree, deep).state & TVIS_EXPANDED);
        EXPECT_EQ(tree.m_loadsBegun, loads);
        EXPECT_EQ(tree.GetItemText(tree.GetChild(deep)), L"Er");

        // A virtual item has no file-system path.
        tree.SelectItem(myComputer);
        EXPECT_EQ(tree.GetSelectedPath(), L"");

        // A missing part stops the walk and selects nothing new.
        EXPECT_FALSE(tree.SelectPath(CTestFolders::Root() + L"\\Missing\\Part"));
        EXPECT_EQ(tree.GetSelection(), myComputer);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(CItemIdList::LiveCount(), listsBefore);
}

TEST(CFolderTreeCtrl, ShowsProgressAndTheTurningHourglassWhileALargeFolderLoads)
{
    CComInitializer com;
    const int kFolders = 40;
    CTestFolders folders(kFolders);
    CTreeDlg dlg([&](CTreeDlg& d) {
        CTestFolderTree& tree = d.m_tree;
        EXPECT_TRUE(tree.HasHourglass());
        ASSERT_TRUE(tree.SelectPath(CTestFolders::Root()));
        HTREEITEM root = tree.GetSelection();
        HTREEITEM big = tree.GetChild(root);
        while (big && tree.GetItemText(big) != L"Big")
            big = tree.GetNextSibling(big);
        ASSERT_NE(big, nullptr);

        std::set<int> framesSeen;
        bool loadingItemSeen = true;
        int widthAtHalf = -1;
        tree.SetChildInsertedHook([&](int count) {
            loadingItemSeen = loadingItemSeen && tree.LoadingItem() == big;
            framesSeen.insert(tree.HourglassFrame());
            // A slow enumeration: the animation runs on while this thread is busy.
            ::Sleep(30);
            if (count == kFolders / 2) {
                widthAtHalf = tree.LastFillWidth();
                SaveScreenshot(d.GetWindowRect(), "folder_tree_loading.png");
            }
        });
        PaintNow(d);
        tree.Expand(big);
        tree.SetChildInsertedHook(nullptr);

        EXPECT_TRUE(loadingItemSeen);
        EXPECT_EQ(tree.LoadingItem(), nullptr);
        EXPECT_GE(framesSeen.size(), 3u);  // 125 ms ticks over more than a second
        // While the total is unknown the bar grows towards its 50 pixels.
        EXPECT_GE(widthAtHalf, 47);
        EXPECT_LE(widthAtHalf, 50);
        EXPECT_EQ(tree.LastFillWidth(), 50);
        const RECT frame = tree.ProgressFrame();
        EXPECT_EQ(frame.right - frame.left, CFolderTreeCtrl::kBarWidth);
        EXPECT_LE(frame.bottom - frame.top, CFolderTreeCtrl::kBarMaxHeight);

        int children = 0;
        for (HTREEITEM child = tree.GetChild(big); child; child = tree.GetNextSibling(child))
            ++children;
        EXPECT_EQ(children, kFolders);
        // Sorted by the shell: "Folder 000" first, "Folder 039" last.
        EXPECT_EQ(tree.GetItemText(tree.GetChild(big)), L"Folder 000");
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(CFolderTreeCtrl, OneRightClickOrContextKeyShowsTheMenuOnce)
{
    CComInitializer com;
    CTreeDlg dlg([](CTreeDlg& d) {
        CTestFolderTree& tree = d.m_tree;
        ASSERT_TRUE(tree.SelectPath(L"C:\\"));
        RECT rect{};
        ASSERT_TRUE(tree.GetItemRect(tree.GetSelection(), rect, true));
        LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        // The release waits in the queue, so the tree's press handler sees a
        // click rather than the start of a drag.
        tree.PostMessage(WM_RBUTTONUP, 0, at);
        tree.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, at);
        while (PumpOneMessage()) {
        }
        EXPECT_EQ(tree.m_menusTracked, 1);
        EXPECT_EQ(tree.ContextMenusShown(), 1);

        tree.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.Handle()), -1);
        EXPECT_EQ(tree.m_menusTracked, 2);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(CLoadingTreeCtrl, AFolderFoundEmptyOnANonFixedDriveKeepsItsButtonAndLoadsAgain)
{
    CComInitializer com;
    CTestFolders folders;
    CTreeDlg dlg([](CTreeDlg& d) {
        CTestFolderTree& tree = d.m_tree;
        ASSERT_TRUE(tree.SelectPath(CTestFolders::Root()));
        HTREEITEM root = tree.GetSelection();
        HTREEITEM deep = nullptr;
        for (HTREEITEM child = tree.GetChild(root); child; child = tree.GetNextSibling(child)) {
            if (tree.GetItemText(child) == L"Deep")
                deep = child;
        }
        ASSERT_NE(deep, nullptr);

        tree.m_loadAsEmptyRemovable = true;
        const int loads = tree.m_loadsBegun;
        tree.Expand(deep);
        EXPECT_EQ(tree.m_loadsBegun, loads + 1);
        EXPECT_EQ(tree.GetChild(deep), nullptr);
        EXPECT_FALSE(ItemState(tree, deep).state & TVIS_EXPANDED);
        EXPECT_EQ(ItemState(tree, deep).cChildren, 1);

        // The next expansion reads it again, and now finds its subfolder.
        tree.m_loadAsEmptyRemovable = false;
        tree.Expand(deep);
        EXPECT_EQ(tree.m_loadsBegun, loads + 2);
        EXPECT_TRUE(ItemState(tree, deep).state & TVIS_EXPANDED);
        EXPECT_EQ(tree.GetItemText(tree.GetChild(deep)), L"Er");
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

namespace {
CTestFolderTree* g_menuTree = nullptr;
bool g_trackingWhileUp = false;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_trackingWhileUp = g_menuTree && g_menuTree->IsContextMenuUp();
    ::EndMenu();
}
}  // namespace

TEST(CFolderTreeCtrl, TheExplorerMenuOfTheSelectedItemShowsAndCloses)
{
    CComInitializer com;
    CTreeDlg dlg([](CTreeDlg& d) {
        CTestFolderTree& tree = d.m_tree;
        ASSERT_TRUE(tree.SelectPath(L"C:\\"));
        tree.m_showRealMenu = true;
        g_menuTree = &tree;
        g_trackingWhileUp = false;
        // The menu runs its own loop; a timer inside it closes the menu again.
        ::SetTimer(nullptr, 0, 100, CloseMenu);
        tree.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.Handle()), -1);
        g_menuTree = nullptr;
        EXPECT_EQ(tree.m_menusTracked, 1);
        EXPECT_GT(tree.m_realMenuItems, 0);
        EXPECT_TRUE(g_trackingWhileUp);
        EXPECT_FALSE(tree.IsContextMenuUp());
        // Ids outside the shell's range are not the menu's business.
        EXPECT_FALSE(tree.SendMessage(WM_COMMAND, MAKEWPARAM(100, 0), 0));
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(CLoadingTreeCtrl, ALoadingThatThrowsStillStopsTheAnimationAndKeepsTheTreeUsable)
{
    CComInitializer com;
    CTestFolders folders(3);
    CTreeDlg dlg([](CTreeDlg& d) {
        CTestFolderTree& tree = d.m_tree;
        ASSERT_TRUE(tree.SelectPath(CTestFolders::Root()));
        HTREEITEM root = tree.GetSelection();
        HTREEITEM big = nullptr;
        for (HTREEITEM child = tree.GetChild(root); child; child = tree.GetNextSibling(child)) {
            if (tree.GetItemText(child) == L"Big")
                big = child;
        }
        ASSERT_NE(big, nullptr);
        tree.SetChildInsertedHook([](int) { throw std::bad_alloc(); });
        tree.Expand(big);
        tree.SetChildInsertedHook(nullptr);
        EXPECT_EQ(tree.LoadingItem(), nullptr);
        EXPECT_EQ(tree.GetItemText(tree.GetChild(big)), L"Folder 000");
        // Redrawing is back on: an invalidated tree gets painted again.
        tree.Invalidate();
        EXPECT_TRUE(::GetUpdateRect(tree, nullptr, FALSE));
        // The next folder loads as usual.
        EXPECT_TRUE(tree.SelectPath(CTestFolders::Deep()));
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

namespace {
HTREEITEM ChildNamed(const CTreeView& tree, HTREEITEM parent, const std::wstring& name)
{
    HTREEITEM child = tree.GetChild(parent);
    while (child && tree.GetItemText(child) != name)
        child = tree.GetNextSibling(child);
    return child;
}

int ChildCount(const CTreeView& tree, HTREEITEM parent)
{
    int count = 0;
    for (HTREEITEM child = tree.GetChild(parent); child; child = tree.GetNextSibling(child))
        ++count;
    return count;
}

// Presses a key on the tree, as the keyboard delivers it.
void PressKey(CTreeView& tree, UINT key)
{
    tree.SendMessage(WM_KEYDOWN, key, 1);
    tree.SendMessage(WM_KEYUP, key, 0xC0000001);
}
}  // namespace

// A folder opened from the keyboard loads in slices: the queue is served all
// along, no message waits long, collapsing stops the loading and another
// expansion takes over, and every stopped folder loads again later.
TEST(CLoadingTreeCtrl, AWideFolderOpenedByHandLoadsInSlicesAndCanBeLeftWhileItLoads)
{
    CComInitializer com;
    const int kFolders = 600;
    CTestFolders folders(kFolders);
    CTreeDlg dlg([&](CTreeDlg& d) {
        CTestFolderTree& tree = d.m_tree;
        ASSERT_TRUE(tree.SelectPath(CTestFolders::Root()));
        HTREEITEM root = tree.GetSelection();
        HTREEITEM big = ChildNamed(tree, root, L"Big");
        HTREEITEM deep = ChildNamed(tree, root, L"Deep");
        ASSERT_TRUE(big && deep);
        // A slow folder: a millisecond for each child.
        tree.SetChildInsertedHook([](int) { ::Sleep(1); });

        tree.SelectItem(big);
        PressKey(tree, VK_RIGHT);
        EXPECT_EQ(tree.LoadingItem(), big);
        EXPECT_EQ(tree.GetItemText(tree.GetChild(big)), CLoadingTreeCtrl::kPlaceholderText);
        // Scrolled while it loads, the animation follows the row.
        tree.SendMessage(WM_VSCROLL, SB_LINEDOWN);
        PaintNow(d);
        RECT row{};
        ASSERT_TRUE(tree.GetItemRect(tree.GetChild(big), row, true));
        EXPECT_TRUE(PumpUntil(
            [&] {
                const RECT bar = tree.ProgressFrame(), glass = tree.HourglassRect();
                return bar.left == row.right + 2 && glass.right == row.left - 3 && bar.top >= row.top &&
                       bar.bottom <= row.bottom;
            },
            2000));
        SaveScreenshot(d.GetWindowRect(), "folder_tree_loading_by_hand.png");

        double longest = 0;
        int handled = 0;
        const bool loaded = PumpUntil([&] {
            const double before = SecondsNow();
            const bool any = PumpOneMessage();
            longest = std::max(longest, SecondsNow() - before);
            handled += any ? 1 : 0;
            return tree.LoadingItem() == nullptr;
        });
        ASSERT_TRUE(loaded);
        std::printf("%d messages while %d folders loaded; the longest took %.3f s\n", handled, kFolders, longest);
        EXPECT_GT(handled, 10);
        EXPECT_LT(longest, 0.25);
        EXPECT_EQ(ChildCount(tree, big), kFolders);
        EXPECT_EQ(tree.GetItemText(tree.GetChild(big)), L"Folder 000");

        // Collapsed while it loads: the loading stops and the folder can be opened again.
        tree.SelectItem(deep);
        PressKey(tree, VK_RIGHT);
        ASSERT_EQ(tree.LoadingItem(), deep);
        PressKey(tree, VK_LEFT);
        EXPECT_EQ(tree.LoadingItem(), nullptr);
        EXPECT_EQ(tree.GetChild(deep), nullptr);
        EXPECT_FALSE(ItemState(tree, deep).state & TVIS_EXPANDED);
        EXPECT_EQ(ItemState(tree, deep).cChildren, 1);

        // Another expansion takes over from a loading under way; the first
        // folder goes back to collapsed and loads in full when opened again.
        PressKey(tree, VK_RIGHT);
        ASSERT_EQ(tree.LoadingItem(), deep);
        HTREEITEM drive = Ancestor(tree, root, 1);
        HTREEITEM other = tree.GetChild(drive);
        while (other && (other == root || ItemState(tree, other).cChildren == 0 || tree.GetChild(other)))
            other = tree.GetNextSibling(other);
        ASSERT_NE(other, nullptr);
        tree.ExpandInSlices(other);
        EXPECT_EQ(tree.LoadingItem(), other);
        EXPECT_EQ(tree.GetChild(deep), nullptr);
        EXPECT_FALSE(ItemState(tree, deep).state & TVIS_EXPANDED);
        tree.FinishLoading();
        tree.SetChildInsertedHook(nullptr);
        tree.Expand(deep);
        EXPECT_EQ(tree.LoadingItem(), nullptr);
        EXPECT_TRUE(ItemState(tree, deep).state & TVIS_EXPANDED);
        EXPECT_EQ(tree.GetItemText(tree.GetChild(deep)), L"Er");
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(CFolderTreeCtrl, TheKeyboardMenuOpensAtTheSelectedItemWhereverThePointerIs)
{
    CComInitializer com;
    CTreeDlg dlg([](CTreeDlg& d) {
        CTestFolderTree& tree = d.m_tree;
        ASSERT_TRUE(tree.SelectPath(L"C:\\"));
        RECT rect{};
        ASSERT_TRUE(tree.GetItemRect(tree.GetSelection(), rect, true));
        POINT under{rect.left, rect.bottom};
        ::ClientToScreen(tree, &under);
        ::SetCursorPos(1, 1);

        // The menu key and Shift+F10 reach the tree as WM_CONTEXTMENU at
        // (-1, -1), or come back from the tree as NM_RCLICK.
        tree.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.Handle()), -1);
        EXPECT_EQ(tree.m_menuPoint.x, under.x);
        EXPECT_EQ(tree.m_menuPoint.y, under.y);
        NMHDR notice{tree.Handle(), static_cast<UINT_PTR>(IDC_FOLDER_TREE), static_cast<UINT>(NM_RCLICK)};
        tree.m_menuPoint = {};
        d.SendMessage(WM_NOTIFY, IDC_FOLDER_TREE, reinterpret_cast<LPARAM>(&notice));
        EXPECT_EQ(tree.m_menuPoint.x, under.x);
        EXPECT_EQ(tree.m_menuPoint.y, under.y);
        EXPECT_EQ(tree.m_menusTracked, 2);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}
