; Uninstall.exe: unregisters the extension, removes the files, the shortcut,
; the uninstall entry and "AppFolder", and keeps the user's settings and
; preset filters unless asked (check box, or /RemoveSettings when silent).

Var un.PerMachine
Var un.RemoveSettings
Var un.RemoveSettingsBox

Function un.onInit
  StrCpy $un.RemoveSettings 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/RemoveSettings" $R1
  ${IfNot} ${Errors}
    StrCpy $un.RemoveSettings 1
  ${EndIf}

  ; The entry's command line names the mode; run by hand, the machine's
  ; entry pointing here means a per-machine copy.
  StrCpy $un.PerMachine ""
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    StrCpy $un.PerMachine 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${IfNot} ${Errors}
    StrCpy $un.PerMachine 0
  ${EndIf}
  ${If} $un.PerMachine == ""
    ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R1 == $INSTDIR
      StrCpy $un.PerMachine 1
    ${Else}
      StrCpy $un.PerMachine 0
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.SettingsPage
  !insertmacro MUI_HEADER_TEXT "Your Settings" "Choose whether to keep your settings."
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 30u "Quillet keeps your settings and preset filters, so that they are there again if you install it later."
  Pop $0
  ${NSD_CreateCheckbox} 0 36u 100% 12u "&Remove my settings and preset filters too"
  Pop $un.RemoveSettingsBox
  ${If} $un.RemoveSettings == 1
    ${NSD_Check} $un.RemoveSettingsBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.SettingsPageLeave
  ${NSD_GetState} $un.RemoveSettingsBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $un.RemoveSettings 1
  ${Else}
    StrCpy $un.RemoveSettings 0
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ${If} $un.PerMachine == 1
    SetShellVarContext all
    StrCpy $R1 '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\QLTC_WS.dll"'
  ${Else}
    SetShellVarContext current
    StrCpy $R1 '"$SYSDIR\regsvr32.exe" /s /u /n /i:user "$INSTDIR\QLTC_WS.dll"'
  ${EndIf}

  ; The extension goes first, while its DLL is still there to unregister itself.
  ${If} ${FileExists} "$INSTDIR\QLTC_WS.dll"
    ClearErrors
    ExecWait $R1 $R2
    ${If} ${Errors}
    ${OrIf} $R2 != 0
      DetailPrint "Unregistering the Explorer extension failed ($R2)."
      SetErrorLevel 3
    ${EndIf}
  ${EndIf}

  Delete "$SMPROGRAMS\${SHORTCUT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  DeleteRegValue HKCU "${APP_KEY}" "AppFolder"
  ${If} $un.PerMachine == 1
    DeleteRegValue HKLM "${APP_KEY}" "AppFolder"
    DeleteRegKey /ifnosubkeys /ifnovalues HKLM "${APP_KEY}"
    DeleteRegKey /ifnosubkeys /ifnovalues HKLM "Software\Varnel"
  ${EndIf}
  ${If} $un.RemoveSettings == 1
    DeleteRegKey HKCU "${APP_KEY}"
  ${EndIf}
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${APP_KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\Varnel"

  ; The folder goes last: once it is gone, the uninstaller has finished.
  Delete "$INSTDIR\Quillet.exe"
  Delete "$INSTDIR\QLTC.exe"
  !insertmacro MoveAsideIfInUse "$INSTDIR\QLTC_WS.dll"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
SectionEnd
