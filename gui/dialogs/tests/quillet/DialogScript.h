#pragma once
// Drives the program's modal dialogs from a test on the same thread. A
// thread timer fires inside whichever modal loop is running (the dialog's own,
// a nested dialog's, or a message box's) and, once a visible and enabled
// dialog with the given title belongs to this thread, runs the steps on it,
// one step per timer tick: between two steps the modal loop goes idle. When no
// such dialog shows up in time the case fails and the dialog on top is
// cancelled, so that the test never hangs.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

using DialogStep = std::function<void(HWND dialog)>;

void WhenDialogShows(const std::wstring& title, std::vector<DialogStep> steps, DWORD timeoutMs = 15000);
inline void WhenDialogShows(const std::wstring& title, DialogStep step, DWORD timeoutMs = 15000)
{
    WhenDialogShows(title, std::vector<DialogStep>{std::move(step)}, timeoutMs);
}

// A click on a dialog's button, as the button reports it (also for disabled ones: it checks nothing).
void ClickButton(HWND dialog, int id);
// The text of a message box: its longest static control.
std::wstring MessageBoxText(HWND box);
// Paints the window now and saves it under build/windows/screenshots/.
void Screenshot(HWND window, const std::string& fileName);
// Runs `body` inside an application object whose name is the program's
// title string ("Quillet"), as the dialogs see it in the real program.
void RunInApplication(const std::function<void()>& body);
