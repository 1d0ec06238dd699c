; Installing over an earlier copy, registering the extension and the entry
; in Apps & Features.

; A DLL that Explorer has loaded cannot be deleted or overwritten, but it can
; be renamed: move it aside and let the next restart delete it.
!macro MoveAsideIfInUse FILE
  ${If} ${FileExists} "${FILE}"
    ClearErrors
    Delete "${FILE}"
    ${If} ${Errors}
      GetTempFileName $R9 "$INSTDIR"
      Delete "$R9"
      Rename "${FILE}" "$R9"
      Delete /REBOOTOK "$R9"
    ${EndIf}
  ${EndIf}
!macroend

; Removes an installed copy through its own uninstaller, run in place and
; waited for, without touching the user's settings. Leaves one entry only:
; the copy's entry goes even when its uninstaller is missing or fails.
!macro RemoveCopy ROOT MODE_SWITCH
  ReadRegStr $R0 ${ROOT} "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 != ""
  ${AndIf} ${FileExists} "$R0\Uninstall.exe"
    DetailPrint "Removing the copy in $R0"
    ; Run from a copy here, it deletes its installed file itself; run in
    ; place, it would leave that to a helper that could meet our new files.
    InitPluginsDir
    CopyFiles /SILENT "$R0\Uninstall.exe" "$PLUGINSDIR\Uninstall.exe"
    ExecWait '"$PLUGINSDIR\Uninstall.exe" /S ${MODE_SWITCH} _?=$R0'
    Delete "$R0\Uninstall.exe"
    RMDir "$R0"
  ${EndIf}
  DeleteRegKey ${ROOT} "${UNINSTALL_KEY}"
!macroend

Function RemovePreviousCopies
  !insertmacro RemoveCopy HKCU "/CurrentUser"
  ${If} $IsAdmin == 1
    !insertmacro RemoveCopy HKLM "/AllUsers"
  ${EndIf}
FunctionEnd

; regsvr32 runs DllRegisterServer (machine) or DllInstall with "user" (only
; the installing user's classes).
Function RegisterExtension
  ${If} $PerMachine == 1
    StrCpy $R1 '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\QLTC_WS.dll"'
  ${Else}
    StrCpy $R1 '"$SYSDIR\regsvr32.exe" /s /n /i:user "$INSTDIR\QLTC_WS.dll"'
  ${EndIf}
  StrCpy $R2 "not started"
  ClearErrors
  ExecWait $R1 $R2
  ${If} ${Errors}
  ${OrIf} $R2 != 0
    DetailPrint "Registering the Explorer extension failed ($R2)."
    MessageBox MB_OK|MB_ICONEXCLAMATION "Quillet is installed, but its Explorer menu could not be set up ($R2)." /SD IDOK
    SetErrorLevel 3
  ${EndIf}
FunctionEnd

Function WriteUninstallEntry
  ${If} $PerMachine == 1
    StrCpy $R3 "/AllUsers"
  ${Else}
    StrCpy $R3 "/CurrentUser"
  ${EndIf}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quillet.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" $R3'
  ; Run in place (_?=), so that the command returns when the work is done, and
  ; with the uninstaller's own exit status.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S $R3 _?=$INSTDIR'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
FunctionEnd
