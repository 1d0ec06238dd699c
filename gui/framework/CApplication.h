#pragma once
// Classes: CApplication, the process's application object: start-up
// (InitInstance), the application message loop, exit (ExitInstance), the
// registry profile rooted at HKEY_CURRENT_USER\Software\<maker>\<app name>,
// the main window, and the last stop of command routing.
#include "CCommandState.h"
#include "CRegistryProfile.h"

#include <windows.h>
#include <string>

class CApplication {
public:
    CApplication();
    virtual ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // The one application object of the process, or null before it exists.
    static CApplication* Current();

    // InitInstance; the message loop only when it succeeded; then ExitInstance.
    // Returns the process exit code. No exception leaves it.
    int Run(HINSTANCE instance, int showCommand);

    HINSTANCE Instance() const { return m_instance; }
    int ShowCommand() const { return m_showCommand; }
    // String resource 57344 when present, else the program file's base name.
    const std::wstring& AppName() const { return m_appName; }

    // Roots every profile section at HKEY_CURRENT_USER\Software\<maker>\<app name>.
    void SetRegistryKey(const std::wstring& maker);
    const CRegistryProfile& Profile() const { return m_profile; }
    int GetProfileInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const;
    std::wstring GetProfileString(const std::wstring& section, const std::wstring& entry,
                                  const std::wstring& defaultValue = {}) const;
    bool WriteProfileInt(const std::wstring& section, const std::wstring& entry, int value) const;
    bool WriteProfileString(const std::wstring& section, const std::wstring& entry,
                            const std::wstring& value) const;

    HWND MainWindow() const { return m_mainWindow; }
    void SetMainWindow(HWND window) { m_mainWindow = window; }

    // Commands that no window handled end here; true when handled.
    virtual bool OnCommand(UINT id, UINT code);
    // Command states that no window decided; true when the application claims the id.
    virtual bool OnUpdateCommand(CCommandState& state);

protected:
    // False ends the program without the message loop.
    virtual bool InitInstance();
    // Returns the exit code; runs after every InitInstance, failed or not.
    virtual int ExitInstance();
    virtual int MessageLoop();

    static constexpr UINT kAppTitleStringId = 57344;

private:
    void LoadAppName();

    HINSTANCE m_instance = nullptr;
    int m_showCommand = SW_SHOWNORMAL;
    std::wstring m_appName;
    CRegistryProfile m_profile;
    HWND m_mainWindow = nullptr;
    int m_exitCode = 0;
};
