// The modal dialog, driven from inside its own loop by posted messages.
#include "CApplication.h"
#include "CButton.h"
#include "CDialog.h"
#include "CToolBar.h"
#include "CUniqueHandle.h"
#include "FrameworkTestResource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace {
const UINT WM_TEST_STEP = WM_APP + 1;
const UINT WM_TEST_THROW = WM_APP + 2;
const UINT kAppCommand = 40001;
const UINT kDialogCommand = 40002;
const UINT kCheckedCommand = 40003;
const UINT kUnclaimedCommand = 40004;
const UINT kAcceleratorCommand = 40005;

class CTestApp : public CApplication {
public:
    bool OnCommand(UINT id, UINT) override
    {
        m_commands.push_back(id);
        return id == kAppCommand;
    }
    bool OnUpdateCommand(CCommandState& state) override
    {
        if (state.m_id != kAppCommand)
            return false;
        state.Enable(true);
        return true;
    }
    std::vector<UINT> m_commands;
};

// A button that counts its own clicks and may keep them from the parent.
class CReflectingButton : public CButton {
public:
    bool OnReflectedCommand(UINT code, LRESULT&) override
    {
        if (code == BN_CLICKED)
            ++m_clicks;
        return m_swallow;
    }
    int m_clicks = 0;
    bool m_swallow = false;
};

// Each step runs inside the dialog's loop; the next one is posted after it.
class CTestDlg : public CDialog {
public:
    CTestDlg() : CDialog(IDD_FRAMEWORK_TEST) {}

    std::vector<std::function<void(CTestDlg&)>> m_steps;
    std::wstring m_text = L"initial";
    int m_checked = 1;
    int m_comboIndex = 2;
    int m_radio = 1;
    bool m_dialogCommandEnabled = true;
    std::vector<UINT> m_commands;
    CReflectingButton m_button;
    CToolBar m_toolbar;
    int m_idleCalls = 0;
    // Set by a step that wants the next one to run only after an idle pass.
    bool m_stepAfterIdle = false;
    bool m_created = false;
    bool m_failCreate = false;

    void Next() { PostMessage(WM_TEST_STEP); }
    using CDialog::SetAccelerators;
    using CDialog::UpdatePopupMenu;

protected:
    bool OnCreate() override
    {
        m_created = true;
        return !m_failCreate;
    }
    bool OnInitDialog() override
    {
        for (const wchar_t* item : {L"zero", L"one", L"two"})
            GetDlgItem(IDC_TEST_COMBO).SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        m_button.Subclass(GetDlgItem(IDC_TEST_BUTTON));
        m_toolbar.Create(m_hWnd, 59393, WS_VISIBLE | TBSTYLE_FLAT);
        TBBUTTON buttons[2] = {{0, static_cast<int>(kDialogCommand), TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
                               {0, static_cast<int>(kCheckedCommand), TBSTATE_ENABLED, BTNS_CHECK, {}, 0, 0}};
        m_toolbar.AddButtons(buttons, 2);
        AddUpdateToolbar(m_toolbar);
        Next();
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange& dx) override
    {
        dx.Text(IDC_TEST_EDIT, m_text);
        dx.Check(IDC_TEST_CHECK, m_checked);
        dx.ComboIndex(IDC_TEST_COMBO, m_comboIndex);
        dx.Radio(IDC_TEST_RADIO1, m_radio);
    }
    bool OnCommand(UINT id, UINT, HWND) override
    {
        m_commands.push_back(id);
        return id == kDialogCommand || id == kAcceleratorCommand || id == IDC_TEST_BUTTON;
    }
    bool OnUpdateCommand(CCommandState& state) override
    {
        if (state.m_id == kDialogCommand) {
            state.Enable(m_dialogCommandEnabled);
            return true;
        }
        if (state.m_id == kCheckedCommand) {
            state.Check(true);
            return true;
        }
        return false;
    }
    bool OnIdle(int count) override
    {
        ++m_idleCalls;
        bool more = CDialog::OnIdle(count);
        if (m_stepAfterIdle) {
            m_stepAfterIdle = false;
            Next();
        }
        return more;
    }
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        if (msg == WM_TEST_THROW)
            throw std::runtime_error("handler failure");
        if (msg == WM_TEST_STEP && !m_steps.empty()) {
            auto step = m_steps.front();
            m_steps.erase(m_steps.begin());
            step(*this);
            return true;
        }
        return CDialog::OnMessage(msg, wp, lp, result);
    }
};

std::wstring ControlText(CTestDlg& dlg, int id)
{
    return dlg.GetDlgItem(id).GetText();
}
}

TEST(CDialog, DataExchangeFillsControlsAndOkReadsThemBack)
{
    CTestDlg dlg;
    std::wstring shownText;
    LRESULT shownIndex = -1;
    bool shownCheck = false;
    bool shownRadio = false;
    dlg.m_steps.push_back([&](CTestDlg& d) {
        shownText = ControlText(d, IDC_TEST_EDIT);
        shownCheck = ::IsDlgButtonChecked(d, IDC_TEST_CHECK) == BST_CHECKED;
        shownIndex = d.GetDlgItem(IDC_TEST_COMBO).SendMessage(CB_GETCURSEL);
        shownRadio = ::IsDlgButtonChecked(d, IDC_TEST_RADIO2) == BST_CHECKED;
        d.GetDlgItem(IDC_TEST_EDIT).SetText(L"changed");
        ::CheckDlgButton(d, IDC_TEST_CHECK, BST_UNCHECKED);
        d.GetDlgItem(IDC_TEST_COMBO).SendMessage(CB_SETCURSEL, 0);
        ::CheckRadioButton(d, IDC_TEST_RADIO1, IDC_TEST_RADIO2, IDC_TEST_RADIO1);
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.m_created);
    EXPECT_EQ(shownText, L"initial");
    EXPECT_TRUE(shownCheck);
    EXPECT_EQ(shownIndex, 2);
    EXPECT_TRUE(shownRadio);
    EXPECT_EQ(dlg.m_text, L"changed");
    EXPECT_EQ(dlg.m_checked, 0);
    EXPECT_EQ(dlg.m_comboIndex, 0);
    EXPECT_EQ(dlg.m_radio, 0);
    EXPECT_FALSE(dlg.IsWindow()) << "the window is destroyed when DoModal returns";
}

TEST(CDialog, CancelAndCloseEndWithoutDataExchange)
{
    for (UINT msg : {static_cast<UINT>(WM_COMMAND), static_cast<UINT>(WM_CLOSE)}) {
        CTestDlg dlg;
        dlg.m_steps.push_back([msg](CTestDlg& d) {
            d.GetDlgItem(IDC_TEST_EDIT).SetText(L"discarded");
            d.PostMessage(msg, msg == WM_COMMAND ? MAKEWPARAM(IDCANCEL, BN_CLICKED) : 0);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.m_text, L"initial");
    }
}

TEST(CDialog, FailedCreationEndsDoModalAtOnce)
{
    CTestDlg dlg;
    dlg.m_failCreate = true;
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.IsWindow());

    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST(CDialog, CommandsGoToTheDialogThenTheApplication)
{
    CTestApp app;
    CTestDlg dlg;
    dlg.m_steps.push_back([](CTestDlg& d) {
        d.SendMessage(WM_COMMAND, MAKEWPARAM(kDialogCommand, 0));
        d.SendMessage(WM_COMMAND, MAKEWPARAM(kAppCommand, 0));
        d.SendMessage(WM_COMMAND, MAKEWPARAM(kAppCommand, EN_CHANGE), reinterpret_cast<LPARAM>(d.Handle()));
        d.EndDialog(7);
    });
    EXPECT_EQ(dlg.DoModal(), 7);
    std::vector<UINT> ours;
    std::copy_if(dlg.m_commands.begin(), dlg.m_commands.end(), std::back_inserter(ours),
                 [](UINT id) { return id >= kAppCommand; });
    EXPECT_EQ(ours, (std::vector<UINT>{kDialogCommand, kAppCommand, kAppCommand}));
    EXPECT_EQ(app.m_commands, (std::vector<UINT>{kAppCommand})) << "control notifications stay with the window";
}

TEST(CDialog, ReflectedClicksReachTheControlFirst)
{
    CTestDlg dlg;
    dlg.m_steps.push_back([](CTestDlg& d) {
        CButton(d.GetDlgItem(IDC_TEST_BUTTON)).Click();
        d.m_button.m_swallow = true;
        CButton(d.GetDlgItem(IDC_TEST_BUTTON)).Click();
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.m_button.m_clicks, 2);
    EXPECT_EQ(std::count(dlg.m_commands.begin(), dlg.m_commands.end(), IDC_TEST_BUTTON), 1)
        << "a reflected handler that returns true keeps the click from the parent";
    EXPECT_FALSE(dlg.m_button.IsSubclassed()) << "the window's end releases the control object";
}

TEST(CDialog, IdleTimeAppliesCommandStatesToToolbars)
{
    CTestDlg dlg;
    bool enabledBefore = false;
    bool enabledAfter = true;
    bool checked = false;
    dlg.m_steps.push_back([](CTestDlg& d) { d.m_stepAfterIdle = true; });
    dlg.m_steps.push_back([&](CTestDlg& d) {
        enabledBefore = d.m_toolbar.IsButtonEnabled(kDialogCommand);
        checked = d.m_toolbar.IsButtonChecked(kCheckedCommand);
        d.m_dialogCommandEnabled = false;
        d.m_stepAfterIdle = true;
    });
    dlg.m_steps.push_back([&](CTestDlg& d) {
        enabledAfter = d.m_toolbar.IsButtonEnabled(kDialogCommand);
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_TRUE(enabledBefore);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(enabledAfter);
    EXPECT_GT(dlg.m_idleCalls, 0);
}

TEST(CDialog, PopupItemsFollowTheCommandStates)
{
    CTestApp app;
    CTestDlg dlg;
    dlg.m_dialogCommandEnabled = false;
    HMENU popup = ::CreatePopupMenu();
    HMENU sub = ::CreatePopupMenu();
    ::AppendMenuW(sub, MF_STRING, kUnclaimedCommand, L"inner");
    ::AppendMenuW(popup, MF_STRING, kDialogCommand, L"dialog");
    ::AppendMenuW(popup, MF_STRING, kCheckedCommand, L"checked");
    ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(popup, MF_STRING, kUnclaimedCommand, L"unclaimed");
    ::AppendMenuW(popup, MF_STRING, kAppCommand, L"application");
    ::AppendMenuW(popup, MF_STRING, SC_CLOSE, L"system");
    ::AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"sub");
    auto enabled = [&](UINT position) {
        return !(::GetMenuState(popup, position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
    };

    dlg.UpdatePopupMenu(popup, true);
    EXPECT_FALSE(enabled(0));
    EXPECT_TRUE(::GetMenuState(popup, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(enabled(3)) << "unclaimed commands are disabled automatically";
    EXPECT_TRUE(enabled(4)) << "the application claims this one";
    EXPECT_TRUE(enabled(5)) << "system commands are never disabled automatically";
    EXPECT_TRUE(enabled(6)) << "a sub-popup is never disabled automatically";

    dlg.UpdatePopupMenu(popup, false);
    EXPECT_TRUE(enabled(3));
    ::DestroyMenu(popup);
}

TEST(CDialog, AcceleratorsAreTranslatedInTheLoop)
{
    ACCEL table[] = {{FVIRTKEY, VK_F5, static_cast<WORD>(kAcceleratorCommand)}};
    CAccelerators accelerators(::CreateAcceleratorTableW(table, 1));
    CTestDlg dlg;
    dlg.SetAccelerators(accelerators.Get());
    dlg.m_steps.push_back([](CTestDlg& d) {
        d.GetDlgItem(IDC_TEST_EDIT).PostMessage(WM_KEYDOWN, VK_F5, 1);
        d.Next();
    });
    dlg.m_steps.push_back([](CTestDlg& d) { d.EndDialog(IDOK); });
    dlg.DoModal();
    EXPECT_EQ(std::count(dlg.m_commands.begin(), dlg.m_commands.end(), kAcceleratorCommand), 1);
}

TEST(CDialog, ExceptionsStopAtTheDialogProcedure)
{
    CTestDlg dlg;
    dlg.m_steps.push_back([](CTestDlg& d) {
        d.SendMessage(WM_TEST_THROW);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(CDialog, WindowDestroyedFromOutsideEndsTheLoop)
{
    CTestDlg dlg;
    dlg.m_steps.push_back([](CTestDlg& d) { ::DestroyWindow(d); });
    EXPECT_EQ(dlg.DoModal(), -1);
}
