// The Select Folder dialog answers input while it pre-selects a folder deep
// in a wide tree. The input comes from another thread through the dialog's
// queue, as a person's key presses and clicks do, not from inside the steps.
#include <gtest/gtest.h>

#include "CComInitializer.h"
#include "CSelectFolderDlg.h"
#include "FolderTestSupport.h"
#include "resource.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {
// Levels of 300 folders, each child read taking a millisecond more: the
// pre-selection takes seconds, and a level's reading far longer than the
// half second in which input must be answered.
const int kWidth = 300;
const int kDepth = 4;
const double kAnswerWithin = 0.5;

class CWatchedDlg : public CSelectFolderDlg {
public:
    explicit CWatchedDlg(CAppSettings& settings) : CSelectFolderDlg(settings)
    {
        Tree().SetChildInsertedHook([this](int count) {
            ++m_childrenRead;
            ::Sleep(1);
        });
    }

    std::atomic<HWND> m_treeWindow{nullptr};
    std::atomic<int> m_childrenRead{0};
    std::atomic<double> m_cancelledAt{0};
    std::atomic<double> m_userSelectedAt{0};
    HTREEITEM m_selectionAtCancel = nullptr;
    std::wstring m_selectedPathAtCancel;
    bool m_preselectingAtCancel = false;

protected:
    bool OnInitDialog() override
    {
        bool result = CSelectFolderDlg::OnInitDialog();
        m_treeWindow = Tree().Handle();
        return result;
    }
    bool OnNotify(NMHDR* header, LRESULT& result) override
    {
        if (header->code == TVN_SELCHANGEDW && reinterpret_cast<NMTREEVIEWW*>(header)->action == TVC_BYMOUSE)
            m_userSelectedAt = SecondsNow();
        return CSelectFolderDlg::OnNotify(header, result);
    }
    void OnCancel() override
    {
        m_cancelledAt = SecondsNow();
        m_selectionAtCancel = Tree().GetSelection();
        m_selectedPathAtCancel = Tree().GetSelectedPath();
        m_preselectingAtCancel = IsPreselecting();
        CSelectFolderDlg::OnCancel();
    }
};

// Waits, on the test's second thread, until `done` holds (10 s at most).
bool WaitFor(const std::function<bool()>& done)
{
    for (int i = 0; i < 1000 && !done(); ++i)
        ::Sleep(10);
    return done();
}

void PostEscape(HWND tree)
{
    ::PostMessageW(tree, WM_KEYDOWN, VK_ESCAPE, 1);
    ::PostMessageW(tree, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

void LoadSettings(CAppSettings& settings)
{
    settings.ResetPresetFilters();
    settings.m_lastFilter = L"*.old";
}
}  // namespace

TEST(CSelectFolderDlg, EscapeDuringThePreselectionOfAWideDeepTreeClosesAtOnce)
{
    CComInitializer com;
    CWideFolders folders(kWidth, kDepth);
    CAppSettings settings;
    LoadSettings(settings);
    CWatchedDlg dlg(settings);
    dlg.m_initialFolder = folders.Deepest();

    std::atomic<double> pressedAt{0};
    std::thread person([&] {
        // Halfway through the third wide level's reading.
        ASSERT_TRUE(WaitFor([&] { return dlg.m_childrenRead > 2 * kWidth + kWidth / 2; }));
        pressedAt = SecondsNow();
        PostEscape(dlg.m_treeWindow);
    });
    const INT_PTR result = dlg.DoModal();
    const double closedAt = SecondsNow();
    person.join();

    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(dlg.m_preselectingAtCancel);
    EXPECT_LT(dlg.m_childrenRead, kDepth * kWidth);
    const double answered = dlg.m_cancelledAt - pressedAt, closed = closedAt - pressedAt;
    std::printf("Escape answered after %.3f s, dialog gone after %.3f s\n", answered, closed);
    EXPECT_LT(answered, kAnswerWithin);
    EXPECT_LT(closed, kAnswerWithin);
    EXPECT_EQ(settings.m_lastFilter, L"*.old");
}

TEST(CSelectFolderDlg, AClickOnAnotherItemDuringThePreselectionTakesOver)
{
    CComInitializer com;
    CWideFolders folders(kWidth, kDepth);
    CAppSettings settings;
    LoadSettings(settings);
    CWatchedDlg dlg(settings);
    dlg.m_initialFolder = folders.Deepest();

    std::atomic<HTREEITEM> clicked{nullptr};
    std::atomic<double> clickedAt{0};
    std::thread person([&] {
        // While the second wide level is read.
        ASSERT_TRUE(WaitFor([&] { return dlg.m_childrenRead > kWidth + 20; }));
        // The first row on the screen, found as the tree shows it now.
        HWND tree = dlg.m_treeWindow;
        auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
        RECT rect{};
        std::memcpy(&rect, &item, sizeof(item));
        ASSERT_TRUE(::SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        clicked = item;
        clickedAt = SecondsNow();
        ::PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(tree, WM_LBUTTONUP, 0, at);
        // Long enough for the rest of the pre-selection, had it gone on.
        ::Sleep(static_cast<DWORD>(kDepth * kWidth * 2));
        PostEscape(tree);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    person.join();

    ASSERT_NE(clicked.load(), nullptr);
    EXPECT_EQ(dlg.m_selectionAtCancel, clicked.load());
    EXPECT_FALSE(dlg.m_preselectingAtCancel);
    EXPECT_NE(dlg.m_selectedPathAtCancel, folders.Deepest());
    const double answered = dlg.m_userSelectedAt - clickedAt;
    std::printf("click answered after %.3f s\n", answered);
    EXPECT_GT(dlg.m_userSelectedAt.load(), 0.0);
    EXPECT_LT(answered, kAnswerWithin);
    // The levels below the one being read when the click came were never read.
    EXPECT_LT(dlg.m_childrenRead, kDepth * kWidth);
}
