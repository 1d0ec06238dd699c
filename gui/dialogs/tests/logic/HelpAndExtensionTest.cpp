#include <gtest/gtest.h>

#include "HelpLinks.h"
#include "ShellExtCommand.h"

TEST(HelpLinks, MailToTextIsNotEncodedAndTheBodyIsOptional)
{
    EXPECT_EQ(MailToText(HelpLinks::kSupportAddress, SupportMailSubject(L"Quillet")),
              L"mailto:support@quillet.example?subject=About Quillet 2.1.0");
    EXPECT_EQ(MailToText(L"a@b.example", L"x & y", L"line one"), L"mailto:a@b.example?subject=x & y&body=line one");
    EXPECT_EQ(ProductTitle(L"Quillet"), L"Quillet 2");
    EXPECT_EQ(VersionText(), L"Version 2.1.0");
    // Our addresses stay on the reserved domain.
    for (const std::wstring address : {HelpLinks::kWebSite, HelpLinks::kDownloadPage, HelpLinks::kSupportAddress})
        EXPECT_NE(address.find(L"quillet.example"), std::wstring::npos);
    EXPECT_TRUE(std::wstring(HelpLinks::kDownloadPage).ends_with(L"/quillet/download.html"));
}

TEST(ShellExtCommand, ElevationDecidesBetweenMachineAndUserRegistration)
{
    const std::wstring dll = L"C:\\Program Files\\Quillet\\QLTC_WS.dll";
    EXPECT_EQ(RegistrationParameters(true, true, dll), L"/s \"C:\\Program Files\\Quillet\\QLTC_WS.dll\"");
    EXPECT_EQ(RegistrationParameters(false, true, dll), L"/u /s \"C:\\Program Files\\Quillet\\QLTC_WS.dll\"");
    EXPECT_EQ(RegistrationParameters(true, false, dll), L"/s /n /i:user \"C:\\Program Files\\Quillet\\QLTC_WS.dll\"");
    EXPECT_EQ(RegistrationParameters(false, false, dll),
              L"/u /s /n /i:user \"C:\\Program Files\\Quillet\\QLTC_WS.dll\"");
}

TEST(ShellExtCommand, TheUsersFolderWinsThenTheMachinesThenTheProgramsOwn)
{
    EXPECT_EQ(ChooseProgramFolder(L"C:\\User", L"C:\\Machine", L"C:\\Run"), L"C:\\User");
    EXPECT_EQ(ChooseProgramFolder(L"", L"C:\\Machine", L"C:\\Run"), L"C:\\Machine");
    EXPECT_EQ(ChooseProgramFolder(L"", L"", L"C:\\Run"), L"C:\\Run");
    EXPECT_EQ(JoinPath(L"C:\\Run", L"QLTC_WS.dll"), L"C:\\Run\\QLTC_WS.dll");
    EXPECT_EQ(JoinPath(L"C:\\", L"QLTC_WS.dll"), L"C:\\QLTC_WS.dll");
}
