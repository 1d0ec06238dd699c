#include "HandlerFixture.h"

#include <shellapi.h>

#include "CDropDataObject.h"

namespace qltest {

void HandlerFixture::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    m_appKey = std::make_unique<CAppKeyScope>();
    m_scratch = std::make_unique<CScratchFolder>();
    m_dll = std::make_unique<CServerDll>();
    ASSERT_EQ(S_OK, m_dll->CreateHandler(IID_IShellExtInit, reinterpret_cast<void**>(&m_init)));
    ASSERT_EQ(S_OK, m_init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&m_menu)));
}

void HandlerFixture::TearDown() {
    if (m_hmenu != nullptr)
        DestroyMenu(m_hmenu);
    if (m_menu != nullptr)
        m_menu->Release();
    if (m_init != nullptr)
        m_init->Release();
    m_dll.reset();
    m_scratch.reset();
    m_appKey.reset();
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    CoUninitialize();
}

HRESULT HandlerFixture::Initialize(const std::vector<std::wstring>& paths) {
    IDataObject* data = CDropDataObject::Create(paths);
    const HRESULT hr = m_init->Initialize(nullptr, data, nullptr);
    data->Release();
    return hr;
}

HRESULT HandlerFixture::Query(UINT flags, UINT idCmdLast) {
    if (m_hmenu != nullptr)
        DestroyMenu(m_hmenu);
    m_hmenu = CreatePopupMenu();
    AppendMenuW(m_hmenu, MF_STRING, 1, L"Open");
    return m_menu->QueryContextMenu(m_hmenu, 0, kFirstId, idCmdLast, flags);
}

std::vector<CMenuEntry> HandlerFixture::Submenu() const {
    std::vector<CMenuEntry> entries;
    HMENU popup = GetSubMenu(m_hmenu, 0);
    for (int i = 0; popup != nullptr && i < GetMenuItemCount(popup); ++i) {
        wchar_t text[512] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = ARRAYSIZE(text);
        EXPECT_TRUE(GetMenuItemInfoW(popup, i, TRUE, &info));
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        entries.push_back({separator ? L"" : text, separator ? 0 : info.wID, separator});
    }
    return entries;
}

HRESULT HandlerFixture::Invoke(UINT offset, bool ctrlDown) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrlDown ? 0x80 : 0;
    SetKeyboardState(keys);
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = CMIC_MASK_FLAG_NO_UI;
    info.lpVerb = MAKEINTRESOURCEA(offset);
    info.nShow = SW_SHOWNORMAL;
    return m_menu->InvokeCommand(&info);
}

std::wstring HandlerFixture::HelpTextW(UINT offset, UINT cchMax) {
    std::vector<wchar_t> buffer(cchMax + 1, L'#');
    const HRESULT hr = m_menu->GetCommandString(offset, GCS_HELPTEXTW, nullptr,
                                                reinterpret_cast<CHAR*>(buffer.data()), cchMax);
    return hr == S_OK ? std::wstring(buffer.data()) : L"<failed>";
}

} // namespace qltest
