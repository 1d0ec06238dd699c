#pragma once
// CMyContextMenu: the Explorer context-menu handler. It moves data between the
// shell (data object, menus, invoke information) and the platform-free
// CContextMenuLogic, which decides the menu, the help texts and the command
// line; the handler only starts Quillet.exe with what the logic planned.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "CUniqueHandle.h"
#include "CDispatchImpl.h"
#include "CRegistryReader.h"
#include "ContextMenuLogic.h"
#include "QLTC_WS_h.h"

class CMyContextMenu
    : public qlcom::CDispatchImpl<IMyContextMenu, &IID_IMyContextMenu, &LIBID_QLTC_WSLib, 1, 0>,
      public IShellExtInit,
      public IContextMenu {
public:
    CMyContextMenu();
    virtual ~CMyContextMenu();
    CMyContextMenu(const CMyContextMenu&) = delete;
    CMyContextMenu& operator=(const CMyContextMenu&) = delete;

    // Loads the submenu image on systems that draw it (Windows Vista and later).
    HRESULT FinalConstruct();
    HRESULT InternalQueryInterface(REFIID riid, void** ppv);

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* dataObject, HKEY progId) override;
    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast, UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR idCmd, UINT type, UINT* reserved, CHAR* name, UINT cchMax) override;

private:
    HRESULT ReadSelection(HDROP drop);
    HRESULT BuildMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast);
    static bool IsVistaOrLater();

    CBitmap m_hBitmap;
    CRegistryReader m_registry;
    qlshell::CContextMenuLogic m_logic{m_registry};
};
