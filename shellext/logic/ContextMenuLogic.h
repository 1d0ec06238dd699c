#pragma once
// CContextMenuLogic: everything the Explorer context-menu handler decides, as
// plain C++. CMyContextMenu owns one and only moves data between it and Win32.
//
// Headers of this library:
//   ContextMenuLogic.h  this facade (selection, menu, help texts, invoke)
//   IRegistryReader.h   registry access the logic needs; the glue implements it
//                       over RegOpenKeyExW/RegQueryValueExW/RegCloseKey
//   MemoryRegistry.h    in-memory registry for tests
//   ShellConstants.h    our names for S_OK, E_INVALIDARG, CMF_*, GCS_*, MF_*
//   HelpTextCopy.h      AnsiConverter (the glue's WideCharToMultiByte)
//   MenuModel.h         CMenuItem; FilterSource.h, ParametersBuilder.h,
//   CommandLine.h, ProgramLocator.h, StringArray.h, Selection.h: the parts
//
// Usage from the COM glue (error handling of the Win32 calls omitted):
//
//   CContextMenuLogic m_logic{registry};          // registry: an IRegistryReader
//
//   Initialize:  m_logic.BeginSelection(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
//                for each i: DragQueryFileW(drop, i, buffer, 1023);
//                    m_logic.AddSelectedPath(buffer, [](const std::wstring& p) {
//                        return PathIsDirectoryW(p.c_str()) != FALSE; });
//
//   QueryContextMenu:
//                if (uFlags & CMF_DEFAULTONLY) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
//                for (const CMenuItem& item :
//                     m_logic.BuildMenu(CommandIdsAvailable(idCmdFirst, idCmdLast))) InsertMenuW(popup, -1,
//                    MF_BYPOSITION | (item.isSeparator ? MF_SEPARATOR : MF_STRING),
//                    item.isSeparator ? UINT_PTR(-1) : idCmdFirst + item.offset,
//                    item.isSeparator ? nullptr : item.text.c_str());
//                ... insert the popup as kSubmenuText ...
//                return MAKE_HRESULT(SEVERITY_SUCCESS, 0, m_logic.GetCommandCount());
//
//   GetCommandString:
//                return m_logic.GetCommandString(idCmd, uType, pszName, cchMax, toAnsi);
//
//   InvokeCommand:
//                if (!IS_INTRESOURCE(pici->lpVerb)) return E_INVALIDARG;
//                CInvokePlan plan = m_logic.InvokeCommand(LOWORD(pici->lpVerb),
//                    GetKeyState(VK_CONTROL) < 0, fileExists /* PathFileExistsW */);
//                switch (plan.outcome) {
//                case InvokeOutcome::InvalidCommand: return E_INVALIDARG;
//                case InvokeOutcome::Launch: ShellExecuteW(nullptr, nullptr,
//                    plan.programPath.c_str(), plan.parameters.c_str(), nullptr, SW_SHOW); break;
//                case InvokeOutcome::SelectionTooLong:   // unless CMIC_MASK_FLAG_NO_UI
//                    MessageBoxW(pici->hwnd, kSelectionTooLongMessage, kSubmenuText,
//                                MB_OK | MB_ICONWARNING); break;
//                case InvokeOutcome::ProgramNotFound: break;   // nothing is shown
//                }
//                return S_OK;
//
// Selections too large for one command line: when the program's whole command
// line (quoted program path, blank, parameters, terminator) would exceed the
// 32,767 characters a process can be started with, nothing is started and the
// glue tells the user, with kSelectionTooLongMessage, to select fewer items or
// their folder. A subset is never passed: a format command converts and closes
// by itself, so silently converting only part of what the user chose would be
// worse than converting nothing, and no path is ever cut.
#include "HelpTextCopy.h"
#include "IRegistryReader.h"
#include "MenuModel.h"
#include "Selection.h"
#include "ShellConstants.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlshell {

constexpr const wchar_t* kSelectionTooLongMessage =
    L"Too many items are selected to hand them to Quillet at once.\n\n"
    L"Select fewer items, or select the folder that holds them.";

enum class InvokeOutcome {
    InvalidCommand,    // offset not below the command count: E_INVALIDARG, nothing changed
    ProgramNotFound,   // "AppFolder" unusable or no program there: start nothing, S_OK
    SelectionTooLong,  // the command line would not fit: start nothing, tell the user, S_OK
    Launch,            // start programPath with parameters: S_OK whatever ShellExecuteW says
};

struct CInvokePlan {
    InvokeOutcome outcome = InvokeOutcome::InvalidCommand;
    std::wstring programPath;  // set for Launch
    std::wstring parameters;   // set for Launch and SelectionTooLong
};

class CContextMenuLogic {
public:
    // `registry` is not owned and must outlive this object.
    explicit CContextMenuLogic(IRegistryReader& registry);

    // IShellExtInit::Initialize: a new selection of `count` paths, then each path.
    void BeginSelection(uint32_t count);
    void AddSelectedPath(std::wstring_view path, const PathTest& isDirectory);
    const CStringArray& SelectedPaths() const { return m_selection.Paths(); }
    bool FolderSelected() const { return m_selection.FolderSelected(); }

    // IContextMenu::QueryContextMenu without CMF_DEFAULTONLY: the submenu's items,
    // using at most `idsAvailable` command identifiers (CommandIdsAvailable of
    // idCmdFirst and idCmdLast). No items: the glue inserts no submenu.
    std::vector<CMenuItem> BuildMenu(uint32_t idsAvailable = kAnyNumberOfCommands);
    uint32_t GetCommandCount() const { return m_menu.GetCommandCount(); }
    const CMenuModel& Menu() const { return m_menu; }

    // IContextMenu::GetCommandString: kResultOk or kResultInvalidArgument.
    // `name` is a wchar_t buffer for GCS_HELPTEXTW and a char buffer for
    // GCS_HELPTEXTA, of cchMax elements; other request types write nothing.
    int32_t GetCommandString(uintptr_t idCmd, uint32_t type, void* name, uint32_t cchMax,
                             const AnsiConverter& toAnsi) const;

    // IContextMenu::InvokeCommand for command offset `offset` (a string verb is
    // the glue's to refuse). `ctrlDown` is the state of Ctrl now, at the moment
    // of the command. Unless the outcome is InvalidCommand, the selected paths
    // are cleared: a second command without a new selection passes no path.
    CInvokePlan InvokeCommand(uint32_t offset, bool ctrlDown, const PathTest& fileExists);

private:
    IRegistryReader& m_registry;
    CSelection m_selection;
    CMenuModel m_menu;
};

}  // namespace qlshell
