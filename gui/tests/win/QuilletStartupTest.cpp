// Quillet.exe started as a process against the real registry: what a start
// writes back, how the command line changes it, and the usage message.
#include "CQuilletProcess.h"
#include "CRegKey.h"
#include "QuilletKeyTest.h"
#include "UsageText.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <cstdio>
#include <optional>

namespace {
const int kFormatCombo = 1001;
const int kAutoClose = 1003;
const int kFileList = 1000;

bool IsMainDialog(HWND window)
{
    return CQuilletProcess::IsDialog(window) && CQuilletProcess::Text(window) == L"Quillet" &&
           ::GetDlgItem(window, kFileList) != nullptr;
}

bool IsMessageBox(HWND window)
{
    return CQuilletProcess::IsDialog(window) && CQuilletProcess::Text(window) == L"Quillet" &&
           ::GetDlgItem(window, kFileList) == nullptr;
}

// The message box's text is its longest static control.
std::wstring MessageBoxText(HWND box)
{
    std::wstring text;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (CQuilletProcess::ClassName(child) == L"Static") {
            std::wstring candidate = CQuilletProcess::Text(child);
            if (candidate.size() > text.size())
                text = candidate;
        }
    }
    std::erase(text, L'\r');
    return text;
}

class QuilletStartup : public QuilletKeyTest {
protected:
    // Starts the program, waits for its main dialog, lets `drive` act on it,
    // then closes it with `closeCommand` and waits for the end.
    void RunMainDialog(const std::wstring& arguments, const std::function<void(HWND)>& drive = {},
                       WPARAM closeCommand = IDCANCEL)
    {
        CQuilletProcess quillet;
        ASSERT_TRUE(quillet.Start(arguments));
        HWND dialog = quillet.WaitForWindow(IsMainDialog);
        ASSERT_TRUE(dialog) << "no main dialog for: " << std::string(arguments.begin(), arguments.end());
        if (drive)
            drive(dialog);
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(closeCommand, BN_CLICKED), 0);
        DWORD exitCode = 1;
        ASSERT_TRUE(quillet.WaitForExit(exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
};

bool HasTitle(HWND window, const wchar_t* title)
{
    return CQuilletProcess::IsDialog(window) && CQuilletProcess::Text(window) == title &&
           ::IsWindowEnabled(window);
}

// Waits until `condition` holds, at most ten seconds.
bool Eventually(const std::function<bool()>& condition)
{
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 10000; ::Sleep(50)) {
        if (condition())
            return true;
    }
    return condition();
}
}

TEST_F(QuilletStartup, FirstStartWritesEverySettingAndTheDefaultPresets)
{
    RunMainDialog(L"", [](HWND dialog) {
        HWND format = ::GetDlgItem(dialog, kFormatCombo);
        EXPECT_EQ(::SendMessageW(format, CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(::SendMessageW(format, CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(CQuilletProcess::Text(::GetDlgItem(dialog, IDOK)), L"Close");
    });

    for (const wchar_t* name : {L"KeepTimestamps", L"BackupOriginal", L"AlwaysOnTop", L"AutoClose", L"Format"})
        EXPECT_EQ(Dword(L"Settings", name), 0u) << name;
    for (const wchar_t* name : {L"KeepAttributes", L"ConvertReadOnlys", L"ScanSubfolders"})
        EXPECT_EQ(Dword(L"Settings", name), 1u) << name;
    for (const wchar_t* name : {L"DefaultFilter", L"FileViewer", L"LastFolder", L"LastFilter"})
        EXPECT_EQ(String(L"Settings", name), L"") << name;
    EXPECT_EQ(Dword(L"Filters", L"Count"), 20u);
    for (int i = 1; i <= 20; ++i) {
        wchar_t section[16];
        std::swprintf(section, 16, L"Filters\\%02d", i);
        EXPECT_TRUE(String(section, L"Name") && !String(section, L"Name")->empty()) << i;
        EXPECT_TRUE(String(section, L"Filter") && !String(section, L"Filter")->empty()) << i;
    }
    EXPECT_EQ(String(L"Filters\\01", L"Name"), L"C/C++ Files");
    EXPECT_EQ(String(L"Filters\\20", L"Filter"), L"*");
    EXPECT_FALSE(String(L"Filters\\21", L"Name"));
}

TEST_F(QuilletStartup, PresetsStopAtTheFirstIncompleteEntry)
{
    Write(L"Filters", L"Count", 3);
    Write(L"Filters\\01", L"Name", L"Mine");
    Write(L"Filters\\01", L"Filter", L"*.mine");
    Write(L"Filters\\02", L"Name", L"Half");
    Write(L"Filters\\03", L"Name", L"Third");
    Write(L"Filters\\03", L"Filter", L"*.3");

    RunMainDialog(L"");

    EXPECT_EQ(Dword(L"Filters", L"Count"), 1u);
    EXPECT_EQ(String(L"Filters\\01", L"Filter"), L"*.mine");
    EXPECT_EQ(String(L"Filters\\02", L"Name"), L"Half");
    EXPECT_FALSE(String(L"Filters\\02", L"Filter"));
    EXPECT_EQ(String(L"Filters\\03", L"Filter"), L"*.3");
}

TEST_F(QuilletStartup, KeepTimestampsFromTheCommandLineStaysOn)
{
    RunMainDialog(L"-kt");
    EXPECT_EQ(Dword(L"Settings", L"KeepTimestamps"), 1u);
    RunMainDialog(L"");
    EXPECT_EQ(Dword(L"Settings", L"KeepTimestamps"), 1u);
    EXPECT_EQ(Dword(L"Settings", L"BackupOriginal"), 0u);
}

TEST_F(QuilletStartup, AutoCloseIsWrittenBackOnlyWithoutACommandLine)
{
    Write(L"Settings", L"AutoClose", 1);
    auto uncheck = [](HWND dialog) {
        HWND box = ::GetDlgItem(dialog, kAutoClose);
        EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
        // A click toggles the box and tells the dialog.
        ::SendMessageW(box, BM_CLICK, 0, 0);
    };
    RunMainDialog(L"-format LF -filter \" *.txt \" -ss x y", [&](HWND dialog) {
        EXPECT_EQ(::SendMessageW(::GetDlgItem(dialog, kFormatCombo), CB_GETCURSEL, 0, 0), 2);
        uncheck(dialog);
    }, IDOK);
    EXPECT_EQ(Dword(L"Settings", L"Format"), 2u);
    EXPECT_EQ(Dword(L"Settings", L"AutoClose"), 1u);

    RunMainDialog(L"", uncheck, IDOK);
    EXPECT_EQ(Dword(L"Settings", L"AutoClose"), 0u);
    EXPECT_EQ(Dword(L"Settings", L"Format"), 2u);
}

TEST_F(QuilletStartup, HelpShowsOnlyTheUsageAndKeepsTheSettings)
{
    Write(L"Settings", L"Format", 1);
    Write(L"Settings", L"KeepTimestamps", 1);
    Write(L"Settings", L"LastFolder", L"C:\\work");
    Write(L"Filters", L"Count", 1);
    Write(L"Filters\\01", L"Name", L"Mine");
    Write(L"Filters\\01", L"Filter", L"*.mine");
    wchar_t file[MAX_PATH] = {};
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    ::GetTempFileNameW(folder, L"qlt", 0, file);

    CQuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(L"-format lf -h \"" + std::wstring(file) + L"\""));
    HWND box = quillet.WaitForWindow(IsMessageBox);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), UsageText());
    ::Sleep(300);
    for (HWND window : quillet.VisibleWindows())
        EXPECT_FALSE(IsMainDialog(window)) << "no main window next to the usage text";
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(quillet.WaitForExit(exitCode));
    ::DeleteFileW(file);

    EXPECT_EQ(Dword(L"Settings", L"Format"), 1u);
    EXPECT_EQ(Dword(L"Settings", L"KeepTimestamps"), 1u);
    EXPECT_EQ(String(L"Settings", L"LastFolder"), L"C:\\work");
    EXPECT_EQ(Dword(L"Filters", L"Count"), 1u);
    EXPECT_EQ(String(L"Filters\\01", L"Name"), L"Mine");
    EXPECT_FALSE(String(L"Filters\\02", L"Name"));
}

TEST_F(QuilletStartup, PresetAddedThroughTheOptionsCommandIsStoredAtExit)
{
    const int kPresetFiltersCommand = 32782, kAddButton = 1021, kNameEdit = 1029, kFilterEdit = 1023;
    CQuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(L""));
    HWND main = quillet.WaitForWindow(IsMainDialog);
    ASSERT_TRUE(main);
    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(kPresetFiltersCommand, 0), 0);
    HWND presets = quillet.WaitForWindow([](HWND w) { return HasTitle(w, L"Preset Filters"); });
    ASSERT_TRUE(presets);
    HWND list = ::GetDlgItem(presets, kFileList);
    EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 20);

    ::PostMessageW(presets, WM_COMMAND, MAKEWPARAM(kAddButton, BN_CLICKED), 0);
    HWND add = quillet.WaitForWindow([](HWND w) { return HasTitle(w, L"Add Filter"); });
    ASSERT_TRUE(add);
    ::SendMessageW(::GetDlgItem(add, kNameEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Markdown"));
    ::SendMessageW(::GetDlgItem(add, kFilterEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"*.md;*.markdown"));
    ::PostMessageW(add, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(Eventually([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 21; }));

    ::PostMessageW(presets, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(Eventually([&] { return !::IsWindow(presets); }));
    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(quillet.WaitForExit(exitCode));

    EXPECT_EQ(Dword(L"Filters", L"Count"), 21u);
    EXPECT_EQ(String(L"Filters\\21", L"Name"), L"Markdown");
    EXPECT_EQ(String(L"Filters\\21", L"Filter"), L"*.md;*.markdown");
    EXPECT_EQ(String(L"Filters\\20", L"Name"), L"All Files");
}

TEST_F(QuilletStartup, AboutAndSettingsOpenThroughTheApplicationsCommands)
{
    const int kAboutCommand = 57664, kSettingsCommand = 32777, kVersionText = 1053, kDefaultFilter = 1013;
    Write(L"Settings", L"DefaultFilter", L"*.md");
    RunMainDialog(L"", [](HWND main) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(main, &processId);
        auto waitFor = [processId](const wchar_t* title) {
            HWND found = nullptr;
            Eventually([&] {
                found = ::FindWindowW(L"#32770", title);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(found, &owner);
                return found && owner == processId && ::IsWindowVisible(found);
            });
            return found;
        };
        ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(kAboutCommand, 0), 0);
        HWND about = waitFor(L"About Quillet");
        ASSERT_TRUE(about);
        EXPECT_EQ(CQuilletProcess::Text(::GetDlgItem(about, kVersionText)), L"Version 2.1.0");
        ::PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(Eventually([&] { return !::IsWindow(about); }));

        ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(kSettingsCommand, 0), 0);
        HWND settings = waitFor(L"Settings");
        ASSERT_TRUE(settings);
        EXPECT_EQ(CQuilletProcess::Text(::GetDlgItem(settings, kDefaultFilter)), L"*.md");
        ::PostMessageW(settings, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ASSERT_TRUE(Eventually([&] { return !::IsWindow(settings); }));
    });
    EXPECT_EQ(String(L"Settings", L"DefaultFilter"), L"*.md");
}
