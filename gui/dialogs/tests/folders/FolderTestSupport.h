#pragma once
// Helpers of the folder-selection tests: a dialog that runs a test script
// from inside its own modal loop, a folder tree on the C: drive, and waits
// that pump messages until a condition holds or a deadline passes.
#include "CDialog.h"
#include "CItemIdList.h"

#include <windows.h>
#include <functional>
#include <string>
#include <utility>

// Any dialog class, run with a script once it is on the screen. A script that
// does not end the dialog ends it with IDABORT, so a failed test never hangs.
template <class TDialog>
class CScripted : public TDialog {
public:
    using Script = std::function<void(CScripted&)>;
    static constexpr UINT kRunScript = WM_APP + 900;

    template <class... TArgs>
    explicit CScripted(Script script, TArgs&&... args)
        : TDialog(std::forward<TArgs>(args)...), m_script(std::move(script))
    {
    }

    using TDialog::SendMessage;

protected:
    bool OnInitDialog() override
    {
        bool result = TDialog::OnInitDialog();
        this->PostMessage(kRunScript);
        return result;
    }
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        if (msg != kRunScript)
            return TDialog::OnMessage(msg, wp, lp, result);
        Script script = std::move(m_script);
        if (script)
            script(*this);
        if (!this->IsEnding())
            this->EndDialog(IDABORT);
        result = 0;
        return true;
    }

private:
    Script m_script;
};

// Paints the window and its children now, as a screenshot needs them.
void PaintNow(HWND window);
// Dispatches one waiting message; false when the queue is empty.
bool PumpOneMessage();
// Dispatches messages until `done` holds; false when `timeoutMs` passed first.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// Folders made for a test under C:\, removed again when it ends:
// C:\QuilletFolderTest\Deep\Er\Leaf, and Big with `bigCount` subfolders.
class CTestFolders {
public:
    explicit CTestFolders(int bigCount = 0);
    ~CTestFolders();
    CTestFolders(const CTestFolders&) = delete;
    CTestFolders& operator=(const CTestFolders&) = delete;

    static std::wstring Root() { return L"C:\\QuilletFolderTest"; }
    static std::wstring Deep() { return Root() + L"\\Deep\\Er\\Leaf"; }
    static std::wstring Big() { return Root() + L"\\Big"; }

private:
    int m_bigCount;
};

// A wide and deep tree under C:\QuilletFolderTest\Wide: `width` folders on
// each of `depth` levels, each level made inside the middle folder of the
// level above. Deepest() is the middle folder of the last level.
class CWideFolders {
public:
    CWideFolders(int width, int depth);
    ~CWideFolders();
    CWideFolders(const CWideFolders&) = delete;
    CWideFolders& operator=(const CWideFolders&) = delete;

    static std::wstring Root() { return CTestFolders::Root() + L"\\Wide"; }
    std::wstring Deepest() const { return m_deepest; }
    std::wstring MiddleName() const;

private:
    int m_width;
    std::wstring m_deepest;
};

// Seconds on a steady clock, for measuring how long the dialogs take to answer.
double SecondsNow();
