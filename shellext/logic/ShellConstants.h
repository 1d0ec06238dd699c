#pragma once
// Win32 values the handler logic works with, under our own names so that the
// logic compiles without <windows.h>. Each equals the system constant named in
// its comment; the COM glue passes the system's values straight through.
#include <cstdint>

namespace qlshell {

// HRESULTs returned by the logic on behalf of the COM methods.
constexpr int32_t kResultOk = 0;                                    // S_OK
constexpr int32_t kResultInvalidArgument = int32_t(0x80070057u);    // E_INVALIDARG

// IContextMenu::QueryContextMenu flags: only this one is consulted.
constexpr uint32_t kMenuFlagDefaultOnly = 0x00000001;  // CMF_DEFAULTONLY

// IContextMenu::GetCommandString request types.
constexpr uint32_t kCommandStringVerbA = 0x00000000;      // GCS_VERBA
constexpr uint32_t kCommandStringHelpTextA = 0x00000001;  // GCS_HELPTEXTA
constexpr uint32_t kCommandStringValidateA = 0x00000002;  // GCS_VALIDATEA
constexpr uint32_t kCommandStringVerbW = 0x00000004;      // GCS_VERBW
constexpr uint32_t kCommandStringHelpTextW = 0x00000005;  // GCS_HELPTEXTW
constexpr uint32_t kCommandStringValidateW = 0x00000006;  // GCS_VALIDATEW

// InsertMenuW flags used to build the submenu.
constexpr uint32_t kMenuString = 0x00000000;      // MF_STRING
constexpr uint32_t kMenuPopup = 0x00000010;       // MF_POPUP
constexpr uint32_t kMenuByPosition = 0x00000400;  // MF_BYPOSITION
constexpr uint32_t kMenuSeparator = 0x00000800;   // MF_SEPARATOR

// Text of the submenu that holds every item, and caption of our message boxes.
constexpr const wchar_t* kSubmenuText = L"Quillet";

}  // namespace qlshell
