; Per-user or per-machine: the switches /CurrentUser and /AllUsers, the page
; that offers the choice, and the folder and registry root that follow from it.

Var PerMachine          ; 1: for every user, into Program Files; 0: for the installing user
Var FolderGiven         ; 1 when /D= named the folder, which then stays as given
Var IsAdmin             ; 1 when the setup may write the machine's keys and folders
Var UserModeButton
Var MachineModeButton

Function .onInit
  StrCpy $PerMachine 0
  StrCpy $FolderGiven 0
  ${If} $INSTDIR != ""
    StrCpy $FolderGiven 1
  ${EndIf}

  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    StrCpy $IsAdmin 1
  ${Else}
    StrCpy $IsAdmin 0
  ${EndIf}

  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    StrCpy $PerMachine 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${IfNot} ${Errors}
    StrCpy $PerMachine 0
  ${EndIf}

  ${If} $PerMachine == 1
  ${AndIf} $IsAdmin != 1
    MessageBox MB_OK|MB_ICONSTOP "Installing Quillet for all users needs administrator rights." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
  Call SetDefaultFolder
FunctionEnd

Function SetDefaultFolder
  ${If} $FolderGiven == 1
    Return
  ${EndIf}
  ${If} $PerMachine == 1
    StrCpy $INSTDIR "$PROGRAMFILES64\Quillet"
  ${Else}
    SetShellVarContext current
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Quillet"
  ${EndIf}
FunctionEnd

; Shortcuts and $SMPROGRAMS follow the mode (SHCTX in the registry, too).
Function ApplyInstallMode
  ${If} $PerMachine == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Function InstallModePage
  !insertmacro MUI_HEADER_TEXT "Choose Installation Options" "Choose who can use Quillet on this computer."
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}

  ${NSD_CreateLabel} 0 0 100% 20u "Quillet can be installed for you alone or for everyone who uses this computer."
  Pop $0
  ${NSD_CreateRadioButton} 8u 28u 100% 12u "Install just for &me (recommended)"
  Pop $UserModeButton
  ${NSD_CreateLabel} 22u 41u 280u 20u "Installs into your own programs folder. No administrator rights are needed."
  Pop $0
  ${NSD_CreateRadioButton} 8u 68u 100% 12u "Install for &anyone using this computer"
  Pop $MachineModeButton
  ${NSD_CreateLabel} 22u 81u 280u 20u "Installs into Program Files and adds the Explorer menu for every user. Needs administrator rights."
  Pop $0

  ${If} $IsAdmin != 1
    EnableWindow $MachineModeButton 0
  ${EndIf}
  ${If} $PerMachine == 1
    ${NSD_Check} $MachineModeButton
  ${Else}
    ${NSD_Check} $UserModeButton
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function InstallModePageLeave
  ${NSD_GetState} $MachineModeButton $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $PerMachine 1
  ${Else}
    StrCpy $PerMachine 0
  ${EndIf}
  Call SetDefaultFolder
FunctionEnd
