#include "CApplication.h"

#include "ResourceString.h"

#include <exception>
#include <vector>

namespace {
CApplication* g_application = nullptr;
}

CApplication::CApplication()
{
    g_application = this;
}

CApplication::~CApplication()
{
    if (g_application == this)
        g_application = nullptr;
}

CApplication* CApplication::Current()
{
    return g_application;
}

int CApplication::Run(HINSTANCE instance, int showCommand)
{
    m_instance = instance;
    m_showCommand = showCommand;
    try {
        LoadAppName();
        if (InitInstance())
            m_exitCode = MessageLoop();
    } catch (const std::exception& e) {
        ::OutputDebugStringA(e.what());
        m_exitCode = 1;
    } catch (...) {
        m_exitCode = 1;
    }
    try {
        return ExitInstance();
    } catch (...) {
        return 1;
    }
}

void CApplication::LoadAppName()
{
    if (auto title = LoadResourceString(m_instance, kAppTitleStringId)) {
        m_appName = *title;
        return;
    }
    std::vector<wchar_t> path(MAX_PATH);
    DWORD length = ::GetModuleFileNameW(m_instance, path.data(), static_cast<DWORD>(path.size()));
    std::wstring name(path.data(), length);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    m_appName = name.substr(0, name.find_last_of(L'.'));
}

void CApplication::SetRegistryKey(const std::wstring& maker)
{
    m_profile = CRegistryProfile(maker, m_appName);
}

int CApplication::GetProfileInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const
{
    return m_profile.GetInt(section, entry, defaultValue);
}

std::wstring CApplication::GetProfileString(const std::wstring& section, const std::wstring& entry,
                                            const std::wstring& defaultValue) const
{
    return m_profile.GetString(section, entry, defaultValue);
}

bool CApplication::WriteProfileInt(const std::wstring& section, const std::wstring& entry, int value) const
{
    return m_profile.WriteInt(section, entry, value);
}

bool CApplication::WriteProfileString(const std::wstring& section, const std::wstring& entry,
                                      const std::wstring& value) const
{
    return m_profile.WriteString(section, entry, value);
}

bool CApplication::OnCommand(UINT, UINT)
{
    return false;
}

bool CApplication::OnUpdateCommand(CCommandState&)
{
    return false;
}

bool CApplication::InitInstance()
{
    return true;
}

int CApplication::ExitInstance()
{
    return m_exitCode;
}

int CApplication::MessageLoop()
{
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}
