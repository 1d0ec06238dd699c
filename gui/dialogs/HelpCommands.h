#pragma once
// Functions: the Help menu's commands. Each hands an address to the shell
// through ShellOpen, with no owner window; nothing is reported when the shell
// cannot open it.
#include <string>

void OnCheckForUpdates();
void OnWebSite();
// A mail to the support address with the subject "About <application> 2.1.0".
void OnEmailUs();
// Opens MailToText(address, subject, body) with the verb "Open". Returns 0.
int OpenMailTo(const std::wstring& address, const std::wstring& subject, const std::wstring& body = {});
