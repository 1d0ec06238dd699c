#pragma once
// Classes: CMinimalMainDlg, the main window as far as start-up needs it:
// dialog template 128 with its controls, the format box, the two behaviour
// check boxes and the file list's columns. It takes the command line's option
// switches into the settings when it is made and writes the format and the
// check boxes back when it goes, as the full main window will.
#include "CAppSettings.h"
#include "CDialog.h"
#include "CGuiCommandLine.h"
#include "CImageList.h"
#include "CUiResources.h"
#include "CUniqueHandle.h"

class CMinimalMainDlg : public CDialog {
public:
    // commandLine may be null (started without recognised arguments); not owned.
    CMinimalMainDlg(CAppSettings& settings, CUiResources& ui, const CGuiCommandLine* commandLine);
    ~CMinimalMainDlg() override;

    static constexpr int kMinTrackWidth = 480;
    static constexpr int kMinTrackHeight = 320;

protected:
    bool OnCreate() override;
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnGetMinMaxInfo(MINMAXINFO* info) override;
    void OnDestroy() override;

private:
    void InitFormatBox();
    void InitFileList();
    void ApplyAlwaysOnTop();

    CAppSettings& m_settings;
    CUiResources& m_ui;
    const CGuiCommandLine* m_commandLine;
    int m_format;
    int m_autoClose;
    int m_alwaysOnTop;
    CIcon m_largeIcon;
    CIcon m_smallIcon;
    CImageList m_formatImages;
};
