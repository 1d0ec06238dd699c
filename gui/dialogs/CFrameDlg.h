#pragma once
// Classes: CFrameDlg, the base of the program's main-window dialogs: it gives
// the window its icons (icon 128, large and 16 x 16), a tool-tip control whose
// texts come from the string table, tips over disabled controls, enabling and
// checking of popup-menu items as they open, and an icon when minimised.
#include "CDialog.h"
#include "CTipCtrl.h"
#include "CUniqueHandle.h"

class CFrameDlg : public CDialog {
public:
    static constexpr UINT kIconId = 128;
    // Wide enough for any text: tips wrap at line breaks only.
    static constexpr int kMaxTipWidth = 65535;

    explicit CFrameDlg(UINT templateId);

    CTipCtrl& Tips() { return m_tips; }
    HICON LargeIcon() const { return m_largeIcon.Get(); }
    HICON SmallIcon() const { return m_smallIcon.Get(); }
    // When set (the default), menu commands below 0xF000 that nobody claims
    // are disabled as their popup opens.
    void SetAutoMenuEnable(bool enable) { m_autoMenuEnable = enable; }

protected:
    bool OnCreate() override;
    bool OnInitDialog() override;
    bool PreTranslateMessage(MSG& msg) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool OnPaint() override;
    bool OnInitMenuPopup(HMENU popup, UINT index, bool systemMenu) override;

private:
    bool OnNeedText(NMHDR* header);
    void CancelOtherModes() const;

    CIcon m_largeIcon;
    CIcon m_smallIcon;
    CTipCtrl m_tips;
    bool m_autoMenuEnable = true;
};
