#include "CQuilletApp.h"

#include "CGuiCommandLine.h"
#include "CAboutDlg.h"
#include "CPresetFiltersDlg.h"
#include "CQuilletDlg.h"
#include "CSettingsDlg.h"
#include "HelpCommands.h"
#include "CRegistryProfileStore.h"
#include "ProcessArguments.h"
#include "ShowUsage.h"
#include "resource.h"

CQuilletApp& CQuilletApp::Instance()
{
    return static_cast<CQuilletApp&>(*CApplication::Current());
}

bool CQuilletApp::InitInstance()
{
    SetRegistryKey(kRegistryMaker);
    // Without the system image lists nothing can be shown: end silently.
    if (!m_ui.LoadSystemImageLists())
        return false;
    m_ui.LoadHandCursor(CApplication::Instance(), IDC_HAND_CURSOR);

    CRegistryProfileStore store(Profile());
    m_settings.LoadSettings(store);

    CGuiCommandLine commandLine;
    int recognised = commandLine.ParseCommandLine(ProcessArguments());
    if (commandLine.m_help) {
        ShowUsage(AppName());
        return false;
    }
    RunMainWindow(recognised > 0 ? &commandLine : nullptr);
    // The modal window was the whole run; no application message loop follows.
    return false;
}

void CQuilletApp::RunMainWindow(const CGuiCommandLine* commandLine)
{
    // The window writes its fields back into the settings when it is destroyed.
    CQuilletDlg mainWindow(m_settings, m_ui, commandLine);
    mainWindow.DoModal();
}

int CQuilletApp::ExitInstance()
{
    // Writes nothing when start-up ended before the settings were loaded, so
    // the stored settings and presets survive such a start.
    CRegistryProfileStore store(Profile());
    m_settings.SaveSettings(store);
    return CApplication::ExitInstance();
}

bool CQuilletApp::OnCommand(UINT id, UINT)
{
    switch (id) {
    case ID_APP_ABOUT:
        ShowAboutBox();
        return true;
    case ID_CHECK_UPDATES:
        ::OnCheckForUpdates();
        return true;
    case ID_EMAIL_US:
        ::OnEmailUs();
        return true;
    case ID_WEB_SITE:
        ::OnWebSite();
        return true;
    case ID_SETTINGS:
        ShowSettingsDialog();
        return true;
    case ID_PRESET_FILTERS:
        ShowPresetFiltersDialog();
        return true;
    default:
        return false;
    }
}

bool CQuilletApp::OnUpdateCommand(CCommandState& state)
{
    switch (state.m_id) {
    case ID_APP_ABOUT:
    case ID_CHECK_UPDATES:
    case ID_EMAIL_US:
    case ID_WEB_SITE:
    case ID_SETTINGS:
    case ID_PRESET_FILTERS:
        state.Enable(true);
        return true;
    default:
        return false;
    }
}

void CQuilletApp::ShowPresetFiltersDialog()
{
    ::ShowPresetFiltersDialog(m_settings, MainWindow());
}

void CQuilletApp::ShowSettingsDialog()
{
    ::ShowSettingsDialog(m_settings, MainWindow());
}

void CQuilletApp::ShowAboutBox()
{
    // Fonts the main window has not made yet are made by the box itself.
    AboutBoxLook look{m_ui.NormalFont(), m_ui.UnderlinedFont(), m_ui.LargeBoldFont(), m_ui.HandCursor()};
    ::ShowAboutBox(look, MainWindow());
}
