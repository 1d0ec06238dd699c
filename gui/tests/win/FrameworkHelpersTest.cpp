// The framework's helpers that need no dialog: registry profile, file-dialog
// selection parsing, worker thread, owning handles, shared UI resources.
#include "CFileDialog.h"
#include "CRegKey.h"
#include "CRegistryProfile.h"
#include "CUiResources.h"
#include "CUniqueHandle.h"
#include "CWindowBase.h"
#include "CWorkerThread.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <stdexcept>

TEST(CRegistryProfile, NestedSectionsRoundTripWithTheirTypes)
{
    CRegistryProfile profile(L"Varnel", L"QuilletFrameworkTest");
    CRegKey root;
    ASSERT_EQ(root.Open(HKEY_CURRENT_USER, L"Software\\Varnel", KEY_ALL_ACCESS) == ERROR_SUCCESS ||
                  root.Create(HKEY_CURRENT_USER, L"Software\\Varnel", KEY_ALL_ACCESS) == ERROR_SUCCESS,
              true);
    root.DeleteTree(L"QuilletFrameworkTest");

    EXPECT_EQ(profile.GetInt(L"Filters\\01", L"Count", 42), 42) << "absent key";
    EXPECT_EQ(profile.GetString(L"Filters\\01", L"Name", L"none"), L"none");
    ASSERT_TRUE(profile.WriteInt(L"Filters", L"Count", -3));
    ASSERT_TRUE(profile.WriteString(L"Filters\\01", L"Name", L"Text Files"));
    ASSERT_TRUE(profile.WriteString(L"Filters\\01", L"Empty", L""));
    EXPECT_EQ(profile.GetInt(L"Filters", L"Count", 0), -3);
    EXPECT_EQ(profile.GetString(L"Filters\\01", L"Name", L""), L"Text Files");
    EXPECT_EQ(profile.GetString(L"Filters\\01", L"Empty", L"default"), L"");
    EXPECT_EQ(profile.GetInt(L"Filters\\01", L"Name", 5), 5) << "a string is no integer";
    EXPECT_EQ(profile.GetString(L"Filters", L"Count", L"x"), L"x") << "an integer is no string";

    CRegKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, L"Software\\Varnel\\QuilletFrameworkTest\\Filters"), ERROR_SUCCESS);
    DWORD type = 0;
    ASSERT_EQ(::RegQueryValueExW(key.Get(), L"Count", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    key.Close();
    root.DeleteTree(L"QuilletFrameworkTest");

    CRegistryProfile unset;
    EXPECT_FALSE(unset.WriteInt(L"S", L"E", 1));
    EXPECT_EQ(unset.GetInt(L"S", L"E", 9), 9);
}

TEST(CFileDialog, SelectionSplitsIntoFullPaths)
{
    const wchar_t single[] = L"C:\\dir\\a.txt\0\0";
    EXPECT_EQ(CFileDialog::SplitSelection(single, std::size(single), true),
              (std::vector<std::wstring>{L"C:\\dir\\a.txt"}));
    const wchar_t several[] = L"C:\\dir\0a.txt\0b c.txt\0\0";
    EXPECT_EQ(CFileDialog::SplitSelection(several, std::size(several), true),
              (std::vector<std::wstring>{L"C:\\dir\\a.txt", L"C:\\dir\\b c.txt"}));
    const wchar_t root[] = L"C:\\\0a\0b\0\0";
    EXPECT_EQ(CFileDialog::SplitSelection(root, std::size(root), true),
              (std::vector<std::wstring>{L"C:\\a", L"C:\\b"}));
    // An unterminated buffer is read no further than its size.
    const wchar_t unterminated[] = {L'C', L':', L'\\', L'x', L'\0', L'y', L'z'};
    EXPECT_EQ(CFileDialog::SplitSelection(unterminated, std::size(unterminated), true),
              (std::vector<std::wstring>{L"C:\\x\\yz"}));
    EXPECT_TRUE(CFileDialog::SplitSelection(L"\0", 1, true).empty());

    CFileDialog dialog(true, nullptr, L"start.txt", OFN_ALLOWMULTISELECT, L"Text (*.txt)|*.txt||", nullptr, 64);
    EXPECT_EQ(std::wstring(dialog.Buffer()), L"start.txt");
    EXPECT_EQ(dialog.Ofn().nMaxFile, 64u);
    EXPECT_EQ(std::wstring(dialog.Ofn().lpstrFilter), L"Text (*.txt)");
    EXPECT_EQ(std::wstring(dialog.Ofn().lpstrFilter + 13), L"*.txt");
    size_t position = dialog.GetStartPosition();
    EXPECT_EQ(position, 0u) << "no paths before the dialog ran";
}

TEST(CWorkerThread, RunsOnlyAfterResumeAndIsJoinedByItsOwner)
{
    std::atomic<bool> ran{false};
    CWorkerThread worker([&] {
        ran = true;
        return 17u;
    });
    ASSERT_TRUE(worker.Create());
    EXPECT_FALSE(worker.Create()) << "one thread per object";
    ::Sleep(50);
    EXPECT_FALSE(ran) << "created suspended";
    ASSERT_TRUE(worker.Resume());
    ASSERT_TRUE(worker.Join());
    EXPECT_TRUE(ran);
    EXPECT_EQ(worker.ExitCode(), 17u);
    EXPECT_FALSE(worker.IsCreated());

    CWorkerThread failing([]() -> unsigned { throw std::runtime_error("worker failure"); });
    ASSERT_TRUE(failing.Create());
    ASSERT_TRUE(failing.Join()) << "joining resumes a thread that never ran";
    EXPECT_EQ(failing.ExitCode(), CWorkerThread::kFailedExitCode);
}

TEST(CWorkerThread, JoinServesAWorkerThatSendsToTheJoiningThread)
{
    // A message-only window owned by this thread; the worker sends to it and
    // can only finish once this thread, busy joining, answers.
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    std::atomic<LRESULT> answer{-1};
    CWorkerThread worker([&] {
        answer = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
        return 0u;
    });
    ASSERT_TRUE(worker.Create());
    ASSERT_TRUE(worker.Join(10000)) << "the join must not deadlock with a sending worker";
    EXPECT_EQ(answer, 0);
    ::DestroyWindow(window);

    CWorkerThread sleeper([] {
        ::Sleep(2000);
        return 0u;
    });
    ASSERT_TRUE(sleeper.Create());
    EXPECT_FALSE(sleeper.Join(50)) << "a timeout still ends the wait";
    EXPECT_TRUE(sleeper.Join());
}

TEST(CUniqueHandle, MovesOwnershipAndClosesOnce)
{
    CHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    HANDLE raw = event.Get();
    CHandle moved(std::move(event));
    EXPECT_FALSE(event);
    EXPECT_EQ(moved.Get(), raw);
    DWORD flags = 0;
    EXPECT_TRUE(::GetHandleInformation(raw, &flags));
    moved.Reset();
    EXPECT_FALSE(::GetHandleInformation(raw, &flags)) << "closed by Reset";
}

TEST(CUiResources, FontsAndSystemListsAndCursor)
{
    EXPECT_EQ(CUiResources::LargeBoldHeight(-11), -16);
    EXPECT_EQ(CUiResources::LargeBoldHeight(-8), -12);
    EXPECT_EQ(CUiResources::LargeBoldHeight(13), 19);

    CUiResources ui;
    EXPECT_TRUE(ui.LoadSystemImageLists());
    EXPECT_TRUE(ui.SmallImageList());
    EXPECT_TRUE(ui.LargeImageList());
    EXPECT_TRUE(ui.LoadHandCursor(::GetModuleHandleW(nullptr), 800));
    EXPECT_TRUE(ui.HandCursor());
    LOGFONTW source{};
    source.lfHeight = -11;
    wcscpy(source.lfFaceName, L"Tahoma");
    CFont dialogFont(::CreateFontIndirectW(&source));
    ASSERT_TRUE(ui.CreateFonts(dialogFont.Get()));
    LOGFONTW large{}, underlined{}, bold{};
    ::GetObjectW(ui.LargeBoldFont(), sizeof(large), &large);
    ::GetObjectW(ui.UnderlinedFont(), sizeof(underlined), &underlined);
    ::GetObjectW(ui.BoldFont(), sizeof(bold), &bold);
    EXPECT_EQ(large.lfHeight, -16);
    EXPECT_EQ(large.lfWeight, FW_BOLD);
    EXPECT_EQ(bold.lfHeight, -11);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_TRUE(underlined.lfUnderline);
    HFONT first = ui.NormalFont();
    ui.CreateFonts(nullptr);
    EXPECT_EQ(ui.NormalFont(), first) << "fonts in use are never replaced";
}

namespace {
const UINT kAsk = WM_APP + 9;

class CAnswering : public CWindowBase {
protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        if (msg == kAsk) {
            result = 7;
            return true;
        }
        return CWindowBase::OnMessage(msg, wp, lp, result);
    }
};

LRESULT CALLBACK CountingHook(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR count)
{
    if (msg == kAsk)
        ++*reinterpret_cast<int*>(count);
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

std::wstring TextOf(HWND hwnd)
{
    wchar_t text[32] = {};
    ::GetWindowTextW(hwnd, text, 32);
    return text;
}
}

// A subclassed window keeps its own behaviour for what the object leaves
// alone, and still works when the object lets go while another hook sits on
// top of it; a new object can take the window over, and its end releases it.
TEST(CWindowBase, SubclassForwardsReleasesUnderAHookAndEndsWithTheWindow)
{
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(edit);
    CAnswering first;
    ASSERT_TRUE(first.Subclass(edit));
    EXPECT_EQ(CWindowBase::FromHandle(edit), &first);
    EXPECT_EQ(::SendMessageW(edit, kAsk, 0, 0), 7);
    ::SetWindowTextW(edit, L"abc");
    EXPECT_EQ(TextOf(edit), L"abc") << "the edit's own procedure still runs";
    CAnswering second;
    EXPECT_FALSE(second.Subclass(edit)) << "one object per window";

    int hooked = 0;
    ASSERT_TRUE(::SetWindowSubclass(edit, CountingHook, 1, reinterpret_cast<DWORD_PTR>(&hooked)));
    first.Unsubclass();
    EXPECT_EQ(CWindowBase::FromHandle(edit), nullptr);
    EXPECT_EQ(::SendMessageW(edit, kAsk, 0, 0), 0) << "nobody answers once the object let go";
    EXPECT_EQ(hooked, 1);
    ::SetWindowTextW(edit, L"def");
    EXPECT_EQ(TextOf(edit), L"def");
    ::RemoveWindowSubclass(edit, CountingHook, 1);

    ASSERT_TRUE(second.Subclass(edit));
    EXPECT_EQ(::SendMessageW(edit, kAsk, 0, 0), 7);
    ::DestroyWindow(edit);
    EXPECT_FALSE(second.IsSubclassed());
    EXPECT_EQ(CWindowBase::FromHandle(edit), nullptr);
}
