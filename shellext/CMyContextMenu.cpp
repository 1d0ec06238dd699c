#include "CMyContextMenu.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <atomic>
#include <string>

#include "CMenu.h"
#include "CQLTC_WSModule.h"
#include "CStgMedium.h"
#include "resource.h"

namespace {

bool IsDirectory(const std::wstring& path) { return PathIsDirectoryW(path.c_str()) != FALSE; }

bool FileExists(const std::wstring& path) { return PathFileExistsW(path.c_str()) != FALSE; }

std::optional<std::string> ToThreadAnsi(std::wstring_view text) {
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::nullopt;
    std::string result(bytes, '\0');
    if (WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, result.data(), bytes, nullptr, nullptr) != bytes)
        return std::nullopt;
    return result;
}

} // namespace

CMyContextMenu::CMyContextMenu() = default;

CMyContextMenu::~CMyContextMenu() = default;

bool CMyContextMenu::IsVistaOrLater() {
    // Decided once per process: -1 not yet, 0 no, 1 yes. Racing threads all
    // store the same answer.
    static std::atomic<int> s_vistaOrLater{-1};
    int decided = s_vistaOrLater.load(std::memory_order_relaxed);
    if (decided < 0) {
        OSVERSIONINFOW version = {};
        version.dwOSVersionInfoSize = sizeof(version);
        decided = GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
                          version.dwMajorVersion >= 6
                      ? 1
                      : 0;
        s_vistaOrLater.store(decided, std::memory_order_relaxed);
    }
    return decided == 1;
}

HRESULT CMyContextMenu::FinalConstruct() {
    // Older systems draw menu bitmaps without transparency; they get no image.
    if (IsVistaOrLater())
        m_hBitmap.Reset(LoadBitmapW(g_module.InstanceHandle(), MAKEINTRESOURCEW(IDB_QUILLET)));
    return S_OK;
}

HRESULT CMyContextMenu::InternalQueryInterface(REFIID riid, void** ppv) {
    static const QITAB kInterfaces[] = {
        {&IID_IMyContextMenu, OFFSETOFCLASS(IMyContextMenu, CMyContextMenu)},
        {&IID_IDispatch, OFFSETOFCLASS(IDispatch, CMyContextMenu)},
        {&IID_IShellExtInit, OFFSETOFCLASS(IShellExtInit, CMyContextMenu)},
        {&IID_IContextMenu, OFFSETOFCLASS(IContextMenu, CMyContextMenu)},
        {nullptr, 0},
    };
    return QISearch(this, kInterfaces, riid, ppv);
}

STDMETHODIMP CMyContextMenu::Initialize(PCIDLIST_ABSOLUTE, IDataObject* dataObject, HKEY) {
    if (dataObject == nullptr)
        return E_INVALIDARG;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    CStgMedium medium;
    if (FAILED(medium.GetData(dataObject, format)) || medium.Get().tymed != TYMED_HGLOBAL ||
        medium.Get().hGlobal == nullptr)
        return E_INVALIDARG;
    try {
        return ReadSelection(static_cast<HDROP>(medium.Get().hGlobal));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CMyContextMenu::ReadSelection(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    m_logic.BeginSelection(count);
    std::wstring path;
    for (UINT i = 0; i < count; ++i) {
        // Each path is read whole: a path cut short could name another file or
        // a parent folder, which the program would then convert instead.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        path.assign(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        m_logic.AddSelectedPath(path, IsDirectory);
    }
    return S_OK;
}

STDMETHODIMP CMyContextMenu::QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                              UINT flags) {
    if (flags & CMF_DEFAULTONLY)
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    try {
        return BuildMenu(menu, indexMenu, idCmdFirst, idCmdLast);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CMyContextMenu::BuildMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast) {
    // Identifiers past idCmdLast belong to other handlers or to Explorer itself.
    const std::vector<qlshell::CMenuItem> items =
        m_logic.BuildMenu(qlshell::CommandIdsAvailable(idCmdFirst, idCmdLast));
    if (items.empty())
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    CMenu popup(CreatePopupMenu());
    if (popup.Handle() == nullptr)
        return HRESULT_FROM_WIN32(GetLastError());
    for (const qlshell::CMenuItem& item : items) {
        const BOOL inserted =
            item.isSeparator
                ? InsertMenuW(popup.Handle(), static_cast<UINT>(-1), MF_SEPARATOR | MF_BYPOSITION,
                              static_cast<UINT_PTR>(-1), nullptr)
                : InsertMenuW(popup.Handle(), static_cast<UINT>(-1), MF_STRING | MF_BYPOSITION,
                              idCmdFirst + item.offset, item.text.c_str());
        if (!inserted)
            return HRESULT_FROM_WIN32(GetLastError());
    }
    if (!InsertMenuW(menu, indexMenu, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Handle()),
                     qlshell::kSubmenuText))
        return HRESULT_FROM_WIN32(GetLastError());
    popup.Detach(); // now destroyed with the menu it belongs to
    if (m_hBitmap.Get() != nullptr)
        SetMenuItemBitmaps(menu, indexMenu, MF_BYPOSITION, m_hBitmap.Get(), m_hBitmap.Get());
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, m_logic.GetCommandCount());
}

STDMETHODIMP CMyContextMenu::GetCommandString(UINT_PTR idCmd, UINT type, UINT*, CHAR* name, UINT cchMax) {
    try {
        return m_logic.GetCommandString(idCmd, type, name, cchMax, ToThreadAnsi);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP CMyContextMenu::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    // Only command offsets are ours; the handler has no verbs.
    if (info == nullptr || !IS_INTRESOURCE(info->lpVerb))
        return E_INVALIDARG;
    try {
        const bool ctrlDown = GetKeyState(VK_CONTROL) < 0;
        const qlshell::CInvokePlan plan = m_logic.InvokeCommand(LOWORD(info->lpVerb), ctrlDown, FileExists);
        switch (plan.outcome) {
        case qlshell::InvokeOutcome::InvalidCommand:
            return E_INVALIDARG;
        case qlshell::InvokeOutcome::Launch:
            ShellExecuteW(nullptr, nullptr, plan.programPath.c_str(), plan.parameters.c_str(), nullptr, SW_SHOW);
            break;
        case qlshell::InvokeOutcome::SelectionTooLong:
            if (!(info->fMask & CMIC_MASK_FLAG_NO_UI))
                MessageBoxW(info->hwnd, qlshell::kSelectionTooLongMessage, qlshell::kSubmenuText,
                            MB_OK | MB_ICONWARNING);
            break;
        case qlshell::InvokeOutcome::ProgramNotFound:
            break;
        }
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
