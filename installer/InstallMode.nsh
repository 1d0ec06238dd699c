; Per-user or per-machine: the switches /CurrentUser and /AllUsers, the page
; that offers the choice, and the folder and registry root that follow from it.
; The setup runs as the invoking user; choosing "everyone" (or /AllUsers)
; without rights starts it again elevated, once (/ElevatedChild marks that
; copy). A silent /AllUsers without rights does not prompt: it exits with 740.

Var PerMachine          ; 1: for every user, into Program Files; 0: for the installing user
Var FolderGiven         ; 1 when /D= named the folder, which then stays as given
Var IsAdmin             ; 1 when the setup may write the machine's keys and folders
Var ElevatedChild       ; 1 in the copy that a setup without rights started elevated
Var UserModeButton
Var MachineModeButton

!insertmacro DefineElevation ""

Function .onInit
  StrCpy $PerMachine 0
  StrCpy $FolderGiven 0
  ${If} $INSTDIR != ""
    StrCpy $FolderGiven 1
  ${EndIf}

  Call CheckAdminRights
  StrCpy $IsAdmin $R9

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
  StrCpy $ElevatedChild 0
  ClearErrors
  ${GetOptions} $R0 "/ElevatedChild" $R1
  ${IfNot} ${Errors}
    StrCpy $ElevatedChild 1
  ${EndIf}

  ${If} $PerMachine == 1
  ${AndIf} $IsAdmin != 1
    ${IfNot} ${Silent}
    ${AndIf} $ElevatedChild != 1
      Call RestartElevatedForEveryone
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "Installing Quillet for all users needs administrator rights." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
  Call SetDefaultFolder
FunctionEnd

; Runs the per-machine install in an elevated copy of this setup and ends
; with its exit status; returns only when the copy could not be started.
Function RestartElevatedForEveryone
  StrCpy $R8 "/AllUsers /ElevatedChild"
  ${If} $FolderGiven == 1
    StrCpy $R8 "$R8 /D=$INSTDIR"
  ${EndIf}
  HideWindow
  Call RunElevated
  ${If} $R9 != ""
    SetErrorLevel $R9
    Quit
  ${EndIf}
  BringToFront
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
  ; The elevated copy was started for one answer, which it already has.
  ${If} $ElevatedChild == 1
    Abort
  ${EndIf}
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
  ${If} $IsAdmin == 1
    ${NSD_CreateLabel} 22u 81u 280u 20u "Installs into Program Files and adds the Explorer menu for every user."
  ${Else}
    ${NSD_CreateLabel} 22u 81u 280u 20u "Installs into Program Files and adds the Explorer menu for every user. Setup asks for administrator rights."
  ${EndIf}
  Pop $0

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
  ${If} $PerMachine == 1
  ${AndIf} $IsAdmin != 1
    Call RestartElevatedForEveryone
    ; Declined or refused: stay on the page, where "just for me" still works.
    MessageBox MB_OK|MB_ICONEXCLAMATION "Installing Quillet for everyone needs administrator rights, which were not given."
    Abort
  ${EndIf}
  Call SetDefaultFolder
FunctionEnd
