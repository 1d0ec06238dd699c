#include "FolderTestSupport.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <gtest/gtest.h>

void PaintNow(HWND window)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
}

bool PumpOneMessage()
{
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return true;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() > deadline)
            return false;
        if (!PumpOneMessage())
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

namespace {
void RemoveTree(const std::wstring& folder)
{
    std::wstring from = folder + L'\0';  // the list ends with an empty name
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationW(&op);
}
}

CTestFolders::CTestFolders(int bigCount) : m_bigCount(bigCount)
{
    RemoveTree(Root());
    ::SHCreateDirectoryExW(nullptr, Deep().c_str(), nullptr);
    ::CreateDirectoryW(Big().c_str(), nullptr);
    for (int i = 0; i < bigCount; ++i) {
        wchar_t name[32];
        wsprintfW(name, L"\\Folder %03d", i);
        ::CreateDirectoryW((Big() + name).c_str(), nullptr);
    }
}

CTestFolders::~CTestFolders()
{
    RemoveTree(Root());
}

CWideFolders::CWideFolders(int width, int depth) : m_width(width)
{
    RemoveTree(CTestFolders::Root());
    std::wstring level = Root();
    ::SHCreateDirectoryExW(nullptr, level.c_str(), nullptr);
    for (int d = 0; d < depth; ++d) {
        for (int i = 0; i < width; ++i) {
            wchar_t name[32];
            wsprintfW(name, L"\\f%04d", i);
            ::CreateDirectoryW((level + name).c_str(), nullptr);
        }
        level += L"\\" + MiddleName();
    }
    m_deepest = level;
}

CWideFolders::~CWideFolders()
{
    RemoveTree(CTestFolders::Root());
}

std::wstring CWideFolders::MiddleName() const
{
    wchar_t name[32];
    wsprintfW(name, L"f%04d", m_width / 2);
    return name;
}

double SecondsNow()
{
    LARGE_INTEGER frequency{}, count{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

namespace {
// Without a window manager Wine waits up to two seconds for each closing
// top-level window to be withdrawn by one. These tests open a hundred
// dialogs, so their windows are left unmanaged: the X server shows them as
// it would anyway, with nobody to wait for. Wine reads the setting as a
// process starts, so it holds from the second test process on.
class CUnmanagedWindows : public ::testing::Environment {
public:
    void SetUp() override
    {
        wchar_t program[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, program, MAX_PATH);
        const wchar_t* name = ::PathFindFileNameW(program);
        std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + name + L"\\X11 Driver";
        const wchar_t value[] = L"N";
        ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Managed", REG_SZ, value, sizeof(value));
    }
};
const auto* const g_unmanaged = ::testing::AddGlobalTestEnvironment(new CUnmanagedWindows);
}
