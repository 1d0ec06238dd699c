#include "DialogScript.h"

#include "CApplication.h"
#include "Screenshot.h"

#include <gtest/gtest.h>

#include <map>

namespace {
constexpr UINT kTickMs = 30;

struct PendingScript {
    std::wstring title;
    std::vector<DialogStep> steps;
    size_t nextStep = 0;
    HWND dialog = nullptr;
    DWORD deadline = 0;
    bool running = false;
};

std::map<UINT_PTR, PendingScript>& Pending()
{
    static std::map<UINT_PTR, PendingScript> pending;
    return pending;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

struct Search {
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lp)
{
    auto* search = reinterpret_cast<Search*>(lp);
    bool usable = ::IsWindowVisible(window) && ::IsWindowEnabled(window) && ClassName(window) == L"#32770";
    if (usable && (!search->title || WindowText(window) == *search->title)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindThreadDialog(const std::wstring* title)
{
    Search search{title, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = Pending().find(id);
    if (it == Pending().end()) {
        ::KillTimer(nullptr, id);
        return;
    }
    PendingScript& script = it->second;
    // A step that opened a nested modal loop has not finished yet.
    if (script.running)
        return;
    if (!script.dialog) {
        script.dialog = FindThreadDialog(&script.title);
        if (!script.dialog) {
            if (static_cast<LONG>(::GetTickCount() - script.deadline) >= 0) {
                std::string title(script.title.begin(), script.title.end());
                ::KillTimer(nullptr, id);
                Pending().erase(it);
                ADD_FAILURE() << "no dialog \"" << title << "\" showed up";
                if (HWND top = FindThreadDialog(nullptr))
                    ::PostMessageW(top, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }
            return;
        }
    }
    DialogStep step = script.steps[script.nextStep++];
    HWND dialog = script.dialog;
    bool last = script.nextStep == script.steps.size();
    if (last) {
        ::KillTimer(nullptr, id);
        Pending().erase(it);
        step(dialog);
        return;
    }
    script.running = true;
    step(dialog);
    // Other scripts may have come and gone meanwhile; look this one up again.
    auto again = Pending().find(id);
    if (again != Pending().end())
        again->second.running = false;
}

class CScriptApp : public CApplication {
public:
    explicit CScriptApp(const std::function<void()>& body) : m_body(body) {}

protected:
    bool InitInstance() override
    {
        m_body();
        return false;
    }

private:
    const std::function<void()>& m_body;
};
}  // namespace

void WhenDialogShows(const std::wstring& title, std::vector<DialogStep> steps, DWORD timeoutMs)
{
    if (steps.empty())
        return;
    UINT_PTR id = ::SetTimer(nullptr, 0, kTickMs, OnTick);
    ASSERT_NE(id, 0u);
    Pending()[id] = PendingScript{title, std::move(steps), 0, nullptr, ::GetTickCount() + timeoutMs};
}

void ClickButton(HWND dialog, int id)
{
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::wstring MessageBoxText(HWND box)
{
    std::wstring text;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == L"Static") {
            std::wstring candidate = WindowText(child);
            if (candidate.size() > text.size())
                text = candidate;
        }
    }
    return text;
}

void Screenshot(HWND window, const std::string& fileName)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // Wine puts what was painted on the X screen while it waits for messages.
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 300) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    RECT area{};
    if (::GetWindowRect(window, &area))
        SaveScreenshot(area, fileName);
}

void RunInApplication(const std::function<void()>& body)
{
    CScriptApp app(body);
    app.Run(::GetModuleHandleW(nullptr), SW_SHOWNORMAL);
}
