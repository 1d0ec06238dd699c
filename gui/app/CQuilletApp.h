#pragma once
// Classes: CQuilletApp, the GUI program's application object: start-up
// (registry root, system image lists, settings, command line, then the usage
// text or the main window), the settings written back at exit, and the
// commands that belong to the whole program.
#include "CAppSettings.h"
#include "CApplication.h"
#include "CUiResources.h"

class CQuilletApp : public CApplication {
public:
    static CQuilletApp& Instance();

    CAppSettings& Settings() { return m_settings; }
    CUiResources& UiResources() { return m_ui; }

    bool OnCommand(UINT id, UINT code) override;
    bool OnUpdateCommand(CCommandState& state) override;

    // The dialogs and Help commands the application's commands run.
    void ShowPresetFiltersDialog();
    void ShowSettingsDialog();
    void ShowAboutBox();

    static constexpr wchar_t kRegistryMaker[] = L"Varnel";

protected:
    bool InitInstance() override;
    int ExitInstance() override;

private:
    void RunMainWindow(const class CGuiCommandLine* commandLine);

    CAppSettings m_settings;
    CUiResources m_ui;
};
