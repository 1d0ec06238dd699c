// The About box and the Help commands, with every shell open recorded.
#include "CAboutDlg.h"
#include "DialogScript.h"
#include "HelpCommands.h"
#include "ShellOpenRecorder.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {
std::wstring Text(HWND window)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

int TextWidth(HWND control)
{
    std::wstring text = Text(control);
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT rect{};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return rect.right - rect.left;
}

int Width(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

LONG FontHeight(HWND control)
{
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font.lfHeight;
}
}  // namespace

TEST(AboutBox, TextsFittedLinksAndTheEmailLinkReachingTheBox)
{
    CShellOpenRecorder shell;
    WhenDialogShows(L"About Quillet", {[](HWND) {}, [](HWND box) {
                        HWND product = ::GetDlgItem(box, IDC_ABOUT_PRODUCT);
                        EXPECT_EQ(Text(product), L"Quillet 2");
                        // The large bold font: half as high again as the box's own.
                        LONG boxHeight = FontHeight(box);
                        EXPECT_EQ(FontHeight(product), boxHeight + boxHeight / 2);
                        EXPECT_EQ(Text(::GetDlgItem(box, IDC_ABOUT_VERSION)), L"Version 2.1.0");
                        EXPECT_EQ(Text(::GetDlgItem(box, IDC_ABOUT_NOTICE)),
                                  L"Copyright (C) 2026 Varnel. All rights reserved.");
                        for (int id : {IDC_WEB_SITE_LINK, IDC_EMAIL_LINK}) {
                            HWND link = ::GetDlgItem(box, id);
                            EXPECT_EQ(Width(link), TextWidth(link) + 2) << id;
                        }
                        EXPECT_EQ(Text(::GetDlgItem(box, IDC_WEB_SITE_LINK)), L"https://www.quillet.example/");
                        EXPECT_EQ(Text(::GetDlgItem(box, IDC_EMAIL_LINK)), L"support@quillet.example");
                        Screenshot(box, "about_box.png");

                        // Real clicks: the web link opens itself, the mail link's click
                        // comes to the box, which stays open.
                        ::SendMessageW(::GetDlgItem(box, IDC_WEB_SITE_LINK), BM_CLICK, 0, 0);
                        ::SendMessageW(::GetDlgItem(box, IDC_EMAIL_LINK), BM_CLICK, 0, 0);
                        EXPECT_TRUE(::IsWindowVisible(box));
                        ClickButton(box, IDOK);
                    }});
    RunInApplication([] { ShowAboutBox({}, nullptr); });

    ASSERT_EQ(shell.Requests().size(), 2u);
    EXPECT_EQ(shell.Requests()[0].verb, L"open");
    EXPECT_EQ(shell.Requests()[0].file, L"https://www.quillet.example/");
    EXPECT_EQ(shell.Requests()[1].verb, L"Open");
    EXPECT_EQ(shell.Requests()[1].file, L"mailto:support@quillet.example?subject=About Quillet 2.1.0");
    EXPECT_EQ(shell.Requests()[1].show, SW_SHOWNORMAL);
}

TEST(HelpCommands, EachOpensItsAddressWithoutAnOwner)
{
    CShellOpenRecorder shell;
    RunInApplication([] {
        OnCheckForUpdates();
        OnEmailUs();
        OnWebSite();
    });
    ASSERT_EQ(shell.Requests().size(), 3u);
    EXPECT_EQ(shell.Requests()[0].file, L"https://www.quillet.example/quillet/download.html");
    EXPECT_EQ(shell.Requests()[1].file, L"mailto:support@quillet.example?subject=About Quillet 2.1.0");
    EXPECT_EQ(shell.Requests()[2].file, L"https://www.quillet.example/");
    for (const ShellOpenRequest& request : shell.Requests()) {
        EXPECT_EQ(request.owner, nullptr);
        EXPECT_EQ(request.parameters, L"");
        EXPECT_EQ(request.show, SW_SHOWNORMAL);
    }
}
