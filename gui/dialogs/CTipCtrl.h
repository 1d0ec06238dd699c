#pragma once
// Classes: CTipCtrl, the tool-tip control of a dialog. Disabled controls get
// no mouse messages, so their tips never show on their own: the dialog hands
// every mouse move to RelayMouseMove, which relays it on behalf of whatever
// control lies under the cursor, disabled or not.
#include "CToolTip.h"

class CTipCtrl : public CToolTip {
public:
    // Call with every message about to be dispatched; only mouse moves are used.
    void RelayMouseMove(const MSG& msg) const;

    // The deepest visible child of `top` under a screen point, disabled
    // windows included (WindowFromPoint skips them); `top` when none is.
    static HWND DeepestChildFromPoint(HWND top, POINT screenPoint);

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};
