#pragma once
// Fixture of the handler tests: COM, a handler created through the DLL's
// class factory, a scratch folder and the program's registry key set aside.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace qltest {

struct CMenuEntry {
    std::wstring text;
    UINT id = 0;
    bool separator = false;
    bool operator==(const CMenuEntry&) const = default;
};

class HandlerFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // IShellExtInit::Initialize with a CF_HDROP data object of these paths.
    HRESULT Initialize(const std::vector<std::wstring>& paths);
    // QueryContextMenu into a fresh menu holding one item "Open" (the submenu
    // goes in front of it, at position 0) with identifiers from 100.
    HRESULT Query(UINT flags = CMF_NORMAL, UINT idCmdLast = kFirstId + 0x7000);
    // The items of the "Quillet" submenu built by the last Query.
    std::vector<CMenuEntry> Submenu() const;
    // InvokeCommand with a command offset; the Ctrl key is held or not.
    HRESULT Invoke(UINT offset, bool ctrlDown = false);
    std::wstring HelpTextW(UINT offset, UINT cchMax = 1024);

    static constexpr UINT kFirstId = 100;
    const CScratchFolder& Scratch() const { return *m_scratch; }

    IShellExtInit* m_init = nullptr;
    IContextMenu* m_menu = nullptr;
    HMENU m_hmenu = nullptr;

private:
    std::unique_ptr<CAppKeyScope> m_appKey;
    std::unique_ptr<CServerDll> m_dll;
    std::unique_ptr<CScratchFolder> m_scratch;
};

} // namespace qltest
