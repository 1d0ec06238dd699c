#pragma once
// Classes: CSelectFolderDlg, the resizable "Select Folder" dialog (template
// 204): a shell folder tree, a filter combo box and a "Scan subfolders" check
// box. The caller fills the public fields, runs DoModal and, on IDOK, reads
// m_selectedFolder (empty for a virtual item such as My Computer),
// m_filterText and m_scanSubfolders. OK also stores "LastFilter",
// "ScanSubfolders" and "LastFolder" in the settings given to the constructor.
//
// The last folder is pre-selected in steps run from a window timer on the
// dialog's own thread, so the shell objects of the tree are only ever used on
// the thread that made them. A timer message comes only when no input waits,
// and each level loads in slices, so clicks, keys and resizing are answered
// throughout; closing the dialog stops the steps, and a selection the user
// makes ends the pre-selection rather than being overridden by it.
#include "CAppSettings.h"
#include "CExtComboBox.h"
#include "CFolderTreeCtrl.h"
#include "CDialog.h"

#include <memory>
#include <string>

class CSelectFolderDlg : public CDialog {
public:
    static constexpr UINT kTemplateId = 204;
    // Posted to the dialog when the pre-selection has ended.
    static constexpr UINT kPreselectDone = WM_USER + 440;
    // The timer that runs the pre-selection's steps.
    static constexpr UINT_PTR kPreselectTimerId = 440;
    // The smallest size the frame can be dragged to, in pixels.
    static constexpr int kMinTrackWidth = 320;
    static constexpr int kMinTrackHeight = 280;

    explicit CSelectFolderDlg(CAppSettings& settings);
    ~CSelectFolderDlg() override;

    std::wstring m_title;          // replaces the template's caption when not empty
    std::wstring m_prompt;         // text above the tree
    std::wstring m_initialFolder;  // pre-selected when it exists
    std::wstring m_selectedFolder; // out: the selected item's file-system path, or ""
    std::wstring m_filterText;     // in and out: the filter combo's edit text
    int m_scanSubfolders = 1;      // in and out: 0 or 1

    CFolderTreeCtrl& Tree() { return m_tree; }
    CExtComboBox& FilterCombo() { return m_filterCombo; }
    // True while the pre-selection is still under way.
    bool IsPreselecting() const { return static_cast<bool>(m_preselect); }

protected:
    bool OnCreate() override;
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnSize(UINT type, int cx, int cy) override;
    bool OnGetMinMaxInfo(MINMAXINFO* info) override;
    bool OnLButtonDown(UINT keys, POINT point) override;
    void OnDestroy() override;

private:
    void TrimSystemMenu() const;
    void LayoutControls(int width, int height) const;
    void StartPreselection();
    void RunPreselectionStep();
    void EndPreselection();

    CAppSettings& m_settings;
    CFolderTreeCtrl m_tree;
    CExtComboBox m_filterCombo;
    HWND m_sizeGrip = nullptr;  // a child window: destroyed with the dialog
    std::unique_ptr<CShellTreeCtrl::CPathWalk> m_preselect;
    bool m_inPreselectStep = false;
};
