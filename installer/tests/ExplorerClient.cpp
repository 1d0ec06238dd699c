// Stands in for Explorer: opens the "Quillet" context menu of the given paths
// through the in-process server that the registry names for the handler's
// CLSID, and runs one of its commands as a click would.
//   ExplorerClient.exe <command offset> <path>...
// Exit code 0 when every call succeeded, else the number of the failed step.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cwchar>
#include <string>
#include <vector>

#include "CDropDataObject.h"

namespace {

// CLSID_MyContextMenu, {2492AC56-FE65-4047-A46F-FC1A61024BE6}.
const CLSID kHandlerClsid = {0x2492ac56, 0xfe65, 0x4047, {0xa4, 0x6f, 0xfc, 0x1a, 0x61, 0x02, 0x4b, 0xe6}};

template <class Interface>
struct CReleasing {
    Interface* p = nullptr;
    ~CReleasing() {
        if (p != nullptr)
            p->Release();
    }
};

struct COwnedMenu {
    HMENU menu = CreatePopupMenu();
    ~COwnedMenu() { DestroyMenu(menu); }
};

// Windows looks a CLSID up in the merged HKEY_CLASSES_ROOT, where the user's
// classes come before the machine's; Wine's COM reads only the machine's, so
// a per-user registration could not be reached through CoCreateInstance. The
// server is found here the way Windows finds it and asked for its factory.
std::wstring FindServer() {
    const std::wstring key = L"Software\\Classes\\CLSID\\{2492AC56-FE65-4047-A46F-FC1A61024BE6}\\InprocServer32";
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        wchar_t path[1024] = {};
        DWORD size = sizeof(path) - sizeof(wchar_t);
        if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path, &size) == ERROR_SUCCESS)
            return path;
    }
    return L"";
}

HRESULT CreateHandler(IShellExtInit** init) {
    const std::wstring server = FindServer();
    HMODULE module = server.empty() ? nullptr : LoadLibraryW(server.c_str()); // stays loaded until the end
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto get = module ? reinterpret_cast<GetClassObject>(
                            reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")))
                      : nullptr;
    if (get == nullptr)
        return REGDB_E_CLASSNOTREG;
    CReleasing<IClassFactory> factory;
    HRESULT hr = get(kHandlerClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory.p));
    if (SUCCEEDED(hr))
        hr = factory.p->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(init));
    return hr;
}

int RunCommand(UINT offset, const std::vector<std::wstring>& paths) {
    CReleasing<IShellExtInit> init;
    if (FAILED(CreateHandler(&init.p)))
        return 3;
    CReleasing<IDataObject> data{qltest::CDropDataObject::Create(paths)};
    if (FAILED(init.p->Initialize(nullptr, data.p, nullptr)))
        return 4;
    CReleasing<IContextMenu> menu;
    if (FAILED(init.p->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu.p))))
        return 5;
    COwnedMenu shown;
    if (FAILED(menu.p->QueryContextMenu(shown.menu, 0, 1, 0x7FFF, CMF_NORMAL)))
        return 6;
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = CMIC_MASK_FLAG_NO_UI;
    info.lpVerb = MAKEINTRESOURCEA(offset);
    info.nShow = SW_SHOWNORMAL;
    return FAILED(menu.p->InvokeCommand(&info)) ? 7 : 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 1;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    const int result = RunCommand(static_cast<UINT>(wcstoul(argv[1], nullptr, 10)),
                                  std::vector<std::wstring>(argv + 2, argv + argc));
    CoUninitialize();
    return result;
}
