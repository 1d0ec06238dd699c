; Uninstall.exe: removes every registration of the extension that names its
; own DLL (in the user's and in the machine's classes, never one of another
; copy) and checks that it is gone, removes the files, the shortcut, the
; uninstall entry and the install record, and keeps the user's settings and
; preset filters unless asked (check box, or /RemoveSettings when silent).
;
; Exit status: 0 done; 3010 done, but files in use go at the next restart;
; 2 files could not be removed; 3 a registration of the extension could not be
; removed; 740 administrator rights are needed and nothing was changed;
; 1 cancelled.

!define CLASSES "Software\Classes"
!define EXT_CLSID "{2492AC56-FE65-4047-A46F-FC1A61024BE6}"
!define EXT_IID "{6CB3B6CF-1832-4FF3-9C33-1F3B6595E64C}"
!define EXT_LIBID "{03782278-608B-47A9-848C-55DCD5443AB5}"
!define EXT_APPID "{876DE289-B18E-448D-857C-E44090D67CC0}"
!define FILE_HANDLER "*\ShellEx\ContextMenuHandlers\Varnel.Quillet"
!define FOLDER_HANDLER "Folder\ShellEx\ContextMenuHandlers\Varnel.Quillet"

Var un.PerMachine
Var un.RemoveSettings
Var un.RemoveSettingsBox
Var un.KeysLeft         ; hives whose registration of ours stayed
Var un.FilesLeft        ; files that could neither be removed nor scheduled
Var un.RestartFiles     ; files scheduled for removal at the next restart

!insertmacro DefineElevation "un."

; $R0 = 1 when ROOT's classes hold a registration naming this copy's DLL.
!macro un.RegistrationNamesThisCopy ROOT
  StrCpy $R0 0
  ReadRegStr $R1 ${ROOT} "${CLASSES}\CLSID\${EXT_CLSID}\InprocServer32" ""
  ReadRegStr $R2 ${ROOT} "${CLASSES}\CLSID\${EXT_IID}\InprocServer32" ""
  ReadRegStr $R3 ${ROOT} "${CLASSES}\TypeLib\${EXT_LIBID}\1.0\0\win64" ""
  ${If} $R1 == "$INSTDIR\QLTC_WS.dll"
  ${OrIf} $R2 == "$INSTDIR\QLTC_WS.dll"
  ${OrIf} $R3 == "$INSTDIR\QLTC_WS.dll"
    StrCpy $R0 1
  ${EndIf}
!macroend

; $R0 = 1 when any key of the extension is still in ROOT's classes.
!macro un.AnyExtensionKeyIn ROOT
  StrCpy $R0 0
  !insertmacro un.IfKeyExists ${ROOT} "${FILE_HANDLER}"
  !insertmacro un.IfKeyExists ${ROOT} "${FOLDER_HANDLER}"
  !insertmacro un.IfKeyExists ${ROOT} "CLSID\${EXT_CLSID}"
  !insertmacro un.IfKeyExists ${ROOT} "CLSID\${EXT_IID}"
  !insertmacro un.IfKeyExists ${ROOT} "TypeLib\${EXT_LIBID}"
  !insertmacro un.IfKeyExists ${ROOT} "Interface\${EXT_IID}"
  !insertmacro un.IfKeyExists ${ROOT} "Wow6432Node\Interface\${EXT_IID}"
!macroend
!macro un.IfKeyExists ROOT KEY
  ClearErrors
  EnumRegKey $R1 ${ROOT} "${CLASSES}\${KEY}" 0
  ${IfNot} ${Errors}
    StrCpy $R0 1
  ${EndIf}
!macroend

; What regsvr32 would remove, removed directly: for a DLL that is missing or
; no longer unregisters itself.
!macro un.DeleteExtensionKeys ROOT
  DeleteRegKey ${ROOT} "${CLASSES}\${FILE_HANDLER}"
  DeleteRegKey ${ROOT} "${CLASSES}\${FOLDER_HANDLER}"
  DeleteRegKey ${ROOT} "${CLASSES}\CLSID\${EXT_CLSID}"
  DeleteRegKey ${ROOT} "${CLASSES}\CLSID\${EXT_IID}"
  DeleteRegKey ${ROOT} "${CLASSES}\TypeLib\${EXT_LIBID}"
  DeleteRegKey ${ROOT} "${CLASSES}\Interface\${EXT_IID}"
  DeleteRegKey ${ROOT} "${CLASSES}\Wow6432Node\Interface\${EXT_IID}"
  DeleteRegKey ${ROOT} "${CLASSES}\Varnel.Quillet.SCM"
  DeleteRegKey ${ROOT} "${CLASSES}\Varnel.Quillet.SCM.1"
  DeleteRegKey ${ROOT} "${CLASSES}\AppID\${EXT_APPID}"
  DeleteRegKey ${ROOT} "${CLASSES}\AppID\QLTC_WS.DLL"
!macroend

; Unregisters the extension from ROOT's classes if that registration is this
; copy's, then checks that it is gone.
!macro un.RemoveRegistrationFrom ROOT SWITCHES
  !insertmacro un.RegistrationNamesThisCopy ${ROOT}
  ${If} $R0 == 1
    ${If} ${FileExists} "$INSTDIR\QLTC_WS.dll"
      ExecWait '"$SYSDIR\regsvr32.exe" /s /u ${SWITCHES} "$INSTDIR\QLTC_WS.dll"' $R2
    ${EndIf}
    !insertmacro un.AnyExtensionKeyIn ${ROOT}
    ${If} $R0 == 1
      DetailPrint "Removing what regsvr32 left of the Explorer extension in ${ROOT}."
      !insertmacro un.DeleteExtensionKeys ${ROOT}
      !insertmacro un.AnyExtensionKeyIn ${ROOT}
      ${If} $R0 == 1
        StrCpy $un.KeysLeft "$un.KeysLeft ${ROOT}"
      ${EndIf}
    ${EndIf}
  ${EndIf}
!macroend

; Deletes FILE; one in use is scheduled for the next restart instead.
!macro un.RemoveFile FILE
  ${If} ${FileExists} "${FILE}"
    ClearErrors
    Delete "${FILE}"
    ${If} ${Errors}
      ClearErrors
      Delete /REBOOTOK "${FILE}"
      ${If} ${Errors}
        StrCpy $un.FilesLeft "$un.FilesLeft$\r$\n${FILE}"
      ${Else}
        StrCpy $un.RestartFiles "$un.RestartFiles$\r$\n${FILE}"
      ${EndIf}
    ${EndIf}
  ${EndIf}
!macroend

Function un.onInit
  Call un.RemoveFolderAfterUninstaller
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
  Call un.EnsureRights
FunctionEnd

; A per-machine copy, or a machine-wide registration of this copy's DLL,
; needs administrator rights. Without them the uninstaller starts itself
; again elevated (interactive) or refuses (silent, or when that copy still
; lacks them), before anything is changed.
Function un.EnsureRights
  !insertmacro un.RegistrationNamesThisCopy HKLM
  ${If} $un.PerMachine != 1
  ${AndIf} $R0 != 1
    Return
  ${EndIf}
  Call un.CheckAdminRights
  ${If} $R9 == 1
    Return
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ElevatedChild" $R1
  ${IfNot} ${Errors}
  ${OrIf} ${Silent}
    Goto refuse
  ${EndIf}
  ${If} $un.PerMachine == 1
    StrCpy $R8 "/AllUsers"
  ${Else}
    StrCpy $R8 "/CurrentUser"
  ${EndIf}
  ${If} $un.RemoveSettings == 1
    StrCpy $R8 "$R8 /RemoveSettings"
  ${EndIf}
  StrCpy $R8 "$R8 /ElevatedChild _?=$INSTDIR"
  Call un.RunElevated
  ${If} $R9 != ""
    ; Both copies run the same file in place; the last to end removes it,
    ; unless the other one was cancelled (1) or refused (740).
    ${If} $R9 != 1
    ${AndIf} $R9 != 740
      Call un.RemoveSelf
    ${EndIf}
    SetErrorLevel $R9
    Quit
  ${EndIf}
refuse:
  MessageBox MB_OK|MB_ICONSTOP "Quillet was not uninstalled: removing it needs administrator rights, because it is installed for everyone or its Explorer menu is set up for everyone." /SD IDOK
  SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
  Quit
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
  StrCpy $un.KeysLeft ""
  StrCpy $un.FilesLeft ""
  StrCpy $un.RestartFiles ""
  ${If} $un.PerMachine == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}

  ; The extension goes first, while its DLL is still there to unregister
  ; itself: from both scopes, since an older Settings dialog may have
  ; registered it in the other one too.
  !insertmacro un.RemoveRegistrationFrom HKCU "/n /i:user"
  !insertmacro un.RemoveRegistrationFrom HKLM ""

  Delete "$SMPROGRAMS\${SHORTCUT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  DeleteRegValue HKCU "${APP_KEY}" "AppFolder"
  DeleteRegValue HKCU "${APP_KEY}" "InstallMode"
  ${If} $un.PerMachine == 1
    DeleteRegValue HKLM "${APP_KEY}" "AppFolder"
    DeleteRegValue HKLM "${APP_KEY}" "InstallMode"
    DeleteRegKey /ifnosubkeys /ifnovalues HKLM "${APP_KEY}"
    DeleteRegKey /ifnosubkeys /ifnovalues HKLM "Software\Varnel"
  ${EndIf}
  ${If} $un.RemoveSettings == 1
    DeleteRegKey HKCU "${APP_KEY}"
  ${EndIf}
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${APP_KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\Varnel"

  !insertmacro un.RemoveFile "$INSTDIR\Quillet.exe"
  !insertmacro un.RemoveFile "$INSTDIR\QLTC.exe"
  !insertmacro un.RemoveFile "$INSTDIR\QLTC_WS.dll"
  Call un.RemoveSelf
  ; The folder goes last: once it is gone, the uninstaller has finished.
  RMDir "$INSTDIR"
  ${If} $un.RestartFiles != ""
    RMDir /REBOOTOK "$INSTDIR"
  ${EndIf}
  Call un.ReportOutcome
SectionEnd

; Run from a copy in the temporary folder, the uninstaller deletes the
; installed one. Run in place (_?=, as the QuietUninstallString does, so that
; its caller waits for the real work and hears its status), it cannot delete
; its own file while it runs: a copy of it in the temporary folder waits for
; this process to end and then removes that file and the folder.
Function un.RemoveSelf
  ${If} $EXEDIR != $INSTDIR
    !insertmacro un.RemoveFile "$INSTDIR\Uninstall.exe"
    Return
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ElevatedChild" $R1
  ${IfNot} ${Errors}
    Return ; the copy that started this one does it when this one has ended
  ${EndIf}
  System::Call 'kernel32::GetCurrentProcessId() i .R8'
  StrCpy $R9 "$TEMP\Quillet-uninstall-$R8.exe"
  ClearErrors
  CopyFiles /SILENT "$EXEPATH" "$R9"
  ${IfNot} ${Errors}
    Exec '"$R9" /S /RemoveFolderAfter=$R8 _?=$INSTDIR'
  ${EndIf}
FunctionEnd

; The copy started by un.RemoveSelf: waits (at most a minute) for the
; uninstaller that started it, then removes its file and the folder.
Function un.RemoveFolderAfterUninstaller
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/RemoveFolderAfter=" $R1
  ${If} ${Errors}
    Return
  ${EndIf}
  System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R1) p .R2' ; SYNCHRONIZE
  ${If} $R2 != 0
    System::Call 'kernel32::WaitForSingleObject(p R2, i 60000)'
    System::Call 'kernel32::CloseHandle(p R2)'
  ${EndIf}
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete /REBOOTOK "$EXEPATH"
  SetErrorLevel 0
  Quit
FunctionEnd

Function un.ReportOutcome
  ${If} $un.KeysLeft != ""
    DetailPrint "The Explorer extension's registration could not be removed from:$un.KeysLeft"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Quillet's Explorer menu could not be removed from the registry ($un.KeysLeft), probably for lack of rights. Run the uninstaller again as an administrator." /SD IDOK
    SetErrorLevel 3
  ${ElseIf} $un.FilesLeft != ""
    DetailPrint "Could not remove:$un.FilesLeft"
    MessageBox MB_OK|MB_ICONEXCLAMATION "These files could not be removed, and could not be scheduled for removal at the next restart:$un.FilesLeft$\r$\n$\r$\nClose the programs that use them and run the uninstaller again." /SD IDOK
    SetErrorLevel 2
  ${ElseIf} $un.RestartFiles != ""
    DetailPrint "In use, removed at the next restart:$un.RestartFiles"
    MessageBox MB_OK|MB_ICONINFORMATION "These files are in use (by Explorer or a running Quillet) and will be removed when Windows restarts:$un.RestartFiles" /SD IDOK
    SetErrorLevel 3010 ; ERROR_SUCCESS_REBOOT_REQUIRED
  ${EndIf}
FunctionEnd
