#pragma once
// Classes: CDialog, a modal dialog made from a dialog template. DoModal runs
// the dialog's own message loop: PreTranslateMessage (accelerators, then the
// dialog keyboard), and when the queue is empty OnIdle, which refreshes the
// enabled and checked states of the registered toolbars' buttons and of the
// registered controls. A command whose state is claimed and disabled is
// dropped on arrival; the others go to the dialog first, then to OK/Cancel,
// then to the application object.
#include "CCommandState.h"
#include "CDataExchange.h"
#include "CWindowBase.h"

#include <windows.h>
#include <vector>

class CDialog : public CWindowBase {
public:
    explicit CDialog(UINT templateId);
    ~CDialog() override;

    // Creates the dialog, runs it until EndDialog and destroys it. Returns the
    // EndDialog value, or -1 when the dialog could not be created.
    INT_PTR DoModal(HWND parent = nullptr);
    // Ends the modal loop once the current message has been handled.
    void EndDialog(INT_PTR result);
    bool IsEnding() const { return m_ending; }

    // save = true: controls to fields. False when a value failed to convert.
    bool UpdateData(bool save);

    // The state of one command: the dialog's answer, else the application's.
    CCommandState QueryCommandState(UINT id);
    // True when the command's state is claimed and disabled: RouteCommand
    // then drops the command, whichever way it came.
    bool IsCommandRefused(UINT id);

protected:
    // Runs before OnInitDialog, once the window exists; false ends DoModal with -1.
    virtual bool OnCreate();
    // Fills the controls from the fields. True lets the system set the focus.
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& dx);
    // True when the message was used up and must not be dispatched.
    virtual bool PreTranslateMessage(MSG& msg);
    // Called while the queue is empty; return true to be called again.
    virtual bool OnIdle(int idleCount);
    // Whether the message starts a new idle pass once the queue is empty.
    // Painting, mouse moves and the caret blink do not; a window can leave out
    // its own frequent messages that change no command state.
    virtual bool IsIdleMessage(const MSG& msg) const;
    // Decide the state of a command this dialog handles and return true; false
    // for commands it does not know.
    virtual bool OnUpdateCommand(CCommandState& state);

    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool RouteCommand(UINT id, UINT code, HWND control) override;

    // Accelerators translated for this dialog and its children (not owned:
    // tables from LoadAccelerators are freed with the module).
    void SetAccelerators(HACCEL accelerators) { m_accelerators = accelerators; }
    // Toolbars whose buttons follow the command states at idle time.
    void AddUpdateToolbar(HWND toolbar);
    void UpdateToolbars();
    // Controls (push buttons) whose enabled state follows the command state of
    // their own id at idle time. Unclaimed ids are left as they are.
    void AddUpdateControl(int id);
    void UpdateControls();
    // Both of the above now, without waiting for idle time: for a change of
    // state (a run that starts) that must show before the next message.
    void UpdateCommandStates();
    // Enables and checks the items of a popup that is about to open. With
    // autoDisable, unclaimed commands below 0xF000 are disabled.
    void UpdatePopupMenu(HMENU popup, bool autoDisable);

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static bool ReturnsResultDirectly(UINT msg);
    void RunModalLoop();
    void UpdateToolbar(HWND toolbar);

    UINT m_templateId;
    HACCEL m_accelerators = nullptr;
    std::vector<HWND> m_updateToolbars;
    std::vector<int> m_updateControls;
    bool m_ending = false;
    INT_PTR m_result = -1;
};
