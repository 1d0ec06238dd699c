#include "HelpLinks.h"

std::wstring MailToText(const std::wstring& address, const std::wstring& subject, const std::wstring& body)
{
    std::wstring text = L"mailto:" + address + L"?subject=" + subject;
    if (!body.empty())
        text += L"&body=" + body;
    return text;
}

std::wstring SupportMailSubject(const std::wstring& appName)
{
    return L"About " + appName + L" " + HelpLinks::kVersion;
}

std::wstring ProductTitle(const std::wstring& appName)
{
    return appName + L" " + HelpLinks::kMajorVersion;
}

std::wstring VersionText()
{
    return std::wstring(L"Version ") + HelpLinks::kVersion;
}

std::wstring MakerNotice()
{
    return L"Copyright (C) " + std::to_wstring(HelpLinks::kNoticeYear) + L" " + HelpLinks::kMakerName +
           L". All rights reserved.";
}
