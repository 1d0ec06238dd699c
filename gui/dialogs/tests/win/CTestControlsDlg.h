#pragma once
// Classes: CTestControlsDlg, the test dialog that shows every custom control
// (template IDD_TEST_CONTROLS). It runs a test script from inside its own
// modal loop, once it is on the screen, and ends when the script returns.
#include "CExtComboBox.h"
#include "CFrameDlg.h"
#include "CHyperlinkButton.h"
#include "CImageList.h"
#include "CSortListCtrl.h"

#include <functional>
#include <vector>

// A link whose target is recorded instead of opened.
class CRecordingLink : public CHyperlinkButton {
public:
    int m_opened = 0;

protected:
    void OpenTarget() override { ++m_opened; }
};

class CTestControlsDlg : public CFrameDlg {
public:
    using Script = std::function<void(CTestControlsDlg&)>;

    explicit CTestControlsDlg(Script script);

    // The modal loop's pre-translation, for scripts that feed it messages.
    bool Pretranslate(MSG& msg) { return PreTranslateMessage(msg); }
    // Dispatches messages (timers, paints) for a while.
    static void PumpFor(DWORD milliseconds);

    CExtComboBox m_combo;
    CSortListCtrl m_list;
    CRecordingLink m_link;
    CHyperlinkButton m_mailLink;
    CImageList m_arrows;
    CImageList m_formatImages;
    std::vector<UINT> m_commands;  // ids of the commands that reached the dialog

protected:
    bool OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnUpdateCommand(CCommandState& state) override;

private:
    void FillControls();

    Script m_script;
};

// Compares rows by the text of the sorted column, in the control's direction.
int CALLBACK CompareTestRows(LPARAM row1, LPARAM row2, LPARAM sortState);
// The test rows' cell texts, by row data and column.
const wchar_t* TestCell(LPARAM row, int column);
