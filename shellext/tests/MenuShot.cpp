// Shows the handler's submenu, opened, in a real popup menu so that a
// screenshot can be taken of it (menu_screenshot.sh).
//   MenuShot.exe <ready-file> <done-file>
// Creates <ready-file> once the "Quillet" submenu is open and closes the menu
// when <done-file> appears (or after 30 seconds).
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "CDropDataObject.h"
#include "QLTC_WS_h.h"
#include "TestSupport.h"

namespace {

struct ShotState {
    HWND owner;
    std::wstring ready;
    std::wstring done;
};

void PressKey(WPARAM key) {
    HWND menuWindow = FindWindowW(L"#32768", nullptr);
    PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
    PostMessageW(menuWindow, WM_KEYUP, key, 0);
}

DWORD WINAPI Drive(void* parameter) {
    const ShotState& state = *static_cast<ShotState*>(parameter);
    Sleep(1000);
    PressKey(VK_DOWN);  // select "Quillet"
    Sleep(300);
    PressKey(VK_RIGHT); // open it
    Sleep(1500);
    CloseHandle(CreateFileW(state.ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    for (int i = 0; i < 300 && GetFileAttributesW(state.done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
    PostMessageW(state.owner, WM_CANCELMODE, 0, 0);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int result = 1;
    {
        qltest::CServerDll dll;
        IShellExtInit* init = nullptr;
        IContextMenu* menu = nullptr;
        if (SUCCEEDED(dll.CreateHandler(IID_IShellExtInit, reinterpret_cast<void**>(&init))) &&
            SUCCEEDED(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)))) {
            IDataObject* data = qltest::CDropDataObject::Create({L"C:\\windows"});
            init->Initialize(nullptr, data, nullptr);
            data->Release();
            HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 1, 1, nullptr, nullptr,
                                         nullptr, nullptr);
            HMENU popup = CreatePopupMenu();
            AppendMenuW(popup, MF_STRING, 1, L"Open");
            AppendMenuW(popup, MF_STRING, 2, L"Properties");
            menu->QueryContextMenu(popup, 0, 100, 0x7FFF, CMF_NORMAL);
            ShotState state{owner, argv[1], argv[2]};
            HANDLE driver = CreateThread(nullptr, 0, Drive, &state, 0, nullptr);
            SetForegroundWindow(owner);
            TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, 40, 40, 0, owner, nullptr);
            WaitForSingleObject(driver, INFINITE);
            CloseHandle(driver);
            DestroyMenu(popup);
            DestroyWindow(owner);
            result = 0;
        }
        if (menu != nullptr)
            menu->Release();
        if (init != nullptr)
            init->Release();
    }
    CoUninitialize();
    return result;
}
