#pragma once
// Functions and constants: the product's fixed texts and addresses for the
// About box and the Help commands, and the mailto text they open.
#include <string>

namespace HelpLinks {
inline constexpr wchar_t kVersion[] = L"2.1.0";
inline constexpr wchar_t kMajorVersion[] = L"2";
inline constexpr wchar_t kMakerName[] = L"Varnel";
inline constexpr int kNoticeYear = 2026;
inline constexpr wchar_t kWebSite[] = L"https://www.quillet.example/";
inline constexpr wchar_t kDownloadPage[] = L"https://www.quillet.example/quillet/download.html";
inline constexpr wchar_t kSupportAddress[] = L"support@quillet.example";
}

// "mailto:ADDRESS?subject=SUBJECT", with "&body=BODY" when a body is given.
// The parts go in as they are, without percent-encoding: the mail program
// shows the subject as written.
std::wstring MailToText(const std::wstring& address, const std::wstring& subject, const std::wstring& body = {});
// "About <application> 2.1.0".
std::wstring SupportMailSubject(const std::wstring& appName);
// "<application> 2", "Version 2.1.0" and the maker's notice of the About box.
std::wstring ProductTitle(const std::wstring& appName);
std::wstring VersionText();
std::wstring MakerNotice();
