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

TEST(ShellExtCommand, TheScopeNamesTheRegistrationAndOnlyTheMachinesRecordMakesItMachineWide)
{
    const std::wstring dll = L"C:\\Program Files\\Quillet\\QLTC_WS.dll";
    const RegistrationScope user = RegistrationScope::User;
    const RegistrationScope machine = RegistrationScope::Machine;
    EXPECT_EQ(RegistrationParameters(true, machine, dll), L"/s \"C:\\Program Files\\Quillet\\QLTC_WS.dll\"");
    EXPECT_EQ(RegistrationParameters(false, machine, dll), L"/u /s \"C:\\Program Files\\Quillet\\QLTC_WS.dll\"");
    EXPECT_EQ(RegistrationParameters(true, user, dll), L"/s /n /i:user \"C:\\Program Files\\Quillet\\QLTC_WS.dll\"");
    EXPECT_EQ(RegistrationParameters(false, user, dll), L"/u /s /n /i:user \"C:\\Program Files\\Quillet\\QLTC_WS.dll\"");

    const std::wstring installed = L"C:\\Program Files\\Quillet";
    EXPECT_EQ(InstallScope(kPerMachineMode, installed, installed), machine);
    EXPECT_EQ(InstallScope(kPerMachineMode, installed, L"c:\\program files\\QUILLET\\"), machine);
    // A portable copy or a per-user copy elsewhere, while another copy is
    // installed for the machine, stays with the user.
    EXPECT_EQ(InstallScope(kPerMachineMode, installed, L"C:\\Users\\me\\Quillet"), user);
    EXPECT_EQ(InstallScope(kPerMachineMode, installed, L"C:\\Program Files\\Quillet2"), user);
    EXPECT_EQ(InstallScope(kPerUserMode, installed, installed), user);
    EXPECT_EQ(InstallScope(L"", installed, installed), user);
    EXPECT_EQ(InstallScope(kPerMachineMode, L"", L""), user);
}

namespace {
std::wstring Describe(const std::vector<RegistrationStep>& steps)
{
    std::wstring text;
    for (const RegistrationStep& step : steps) {
        text += step.install ? L"+" : L"-";
        text += step.scope == RegistrationScope::User ? L"user" : L"machine";
        text += step.elevate ? L"(runas) " : L" ";
    }
    return text;
}
}

TEST(ShellExtCommand, OkRegistersInTheInstallsScopeAndClearingRemovesEveryScope)
{
    const RegistrationScope user = RegistrationScope::User;
    const RegistrationScope machine = RegistrationScope::Machine;
    // Ticked, per user: elevated or not, never the machine's classes; a
    // machine-wide registration of another copy is left alone.
    for (bool elevated : {true, false}) {
        EXPECT_EQ(Describe(PlanRegistration(true, user, false, false, elevated)), L"+user ");
        EXPECT_EQ(Describe(PlanRegistration(true, user, true, true, elevated)), L"+user ");
    }
    // Ticked, per machine: rights are asked for when missing; a per-user
    // registration goes, and none is added.
    EXPECT_EQ(Describe(PlanRegistration(true, machine, false, false, true)), L"+machine ");
    EXPECT_EQ(Describe(PlanRegistration(true, machine, false, true, false)), L"+machine(runas) ");
    EXPECT_EQ(Describe(PlanRegistration(true, machine, true, false, false)), L"+machine(runas) -user ");

    // Clear: every scope that holds one, the machine's with rights.
    EXPECT_EQ(Describe(PlanRegistration(false, user, true, true, false)), L"-user -machine(runas) ");
    EXPECT_EQ(Describe(PlanRegistration(false, user, false, true, true)), L"-machine ");
    EXPECT_EQ(Describe(PlanRegistration(false, machine, true, false, false)), L"-user ");
    // Nothing anywhere: the install's scope is cleaned of any remains, but no
    // prompt for rights is shown for it.
    EXPECT_EQ(Describe(PlanRegistration(false, user, false, false, false)), L"-user ");
    EXPECT_EQ(Describe(PlanRegistration(false, machine, false, false, true)), L"-machine ");
    EXPECT_EQ(Describe(PlanRegistration(false, machine, false, false, false)), L"");
}

TEST(ShellExtCommand, TheUsersFolderWinsThenTheMachinesThenTheProgramsOwn)
{
    EXPECT_EQ(ChooseProgramFolder(L"C:\\User", L"C:\\Machine", L"C:\\Run"), L"C:\\User");
    EXPECT_EQ(ChooseProgramFolder(L"", L"C:\\Machine", L"C:\\Run"), L"C:\\Machine");
    EXPECT_EQ(ChooseProgramFolder(L"", L"", L"C:\\Run"), L"C:\\Run");
    EXPECT_EQ(JoinPath(L"C:\\Run", L"QLTC_WS.dll"), L"C:\\Run\\QLTC_WS.dll");
    EXPECT_EQ(JoinPath(L"C:\\", L"QLTC_WS.dll"), L"C:\\QLTC_WS.dll");
}
