#include "HelpCommands.h"

#include "CApplication.h"
#include "HelpLinks.h"
#include "ShellOpen.h"

void OnCheckForUpdates()
{
    ShellOpen({nullptr, L"open", HelpLinks::kDownloadPage, {}, SW_SHOWNORMAL});
}

void OnWebSite()
{
    ShellOpen({nullptr, L"open", HelpLinks::kWebSite, {}, SW_SHOWNORMAL});
}

void OnEmailUs()
{
    CApplication* app = CApplication::Current();
    OpenMailTo(HelpLinks::kSupportAddress, SupportMailSubject(app ? app->AppName() : std::wstring(L"Quillet")));
}

int OpenMailTo(const std::wstring& address, const std::wstring& subject, const std::wstring& body)
{
    ShellOpen({nullptr, L"Open", MailToText(address, subject, body), {}, SW_SHOWNORMAL});
    return 0;
}
