; Administrator rights: whether this process has them, and starting this
; program again elevated. The setup and the uninstaller run as the invoking
; user (RequestExecutionLevel user) and elevate only for what needs it.
;
; QUILLET_TEST_STANDARD_USER, when set to anything, makes the process count
; as one without rights. It exists for the tests, since Wine reports every
; process as elevated; it can only take rights away, never grant them.

!macro DefineElevation UN
; $R9 = 1 when this process may write the machine's keys and folders, else 0.
Function ${UN}CheckAdminRights
  StrCpy $R9 0
  ReadEnvStr $R8 QUILLET_TEST_STANDARD_USER
  ${If} $R8 == ""
    UserInfo::GetAccountType
    Pop $R8
    ${If} $R8 == "Admin"
      StrCpy $R9 1
    ${EndIf}
  ${EndIf}
FunctionEnd

; Starts this program again through "runas" with the parameters in $R8 and
; waits for it. $R9 = its exit code, or "" when it did not start (the user
; declined the prompt, for one).
Function ${UN}RunElevated
  StrCpy $R9 ""
  ; The elevated copy has the rights that this process lacks.
  System::Call 'kernel32::SetEnvironmentVariableW(w "QUILLET_TEST_STANDARD_USER", p 0)'

  ; SHELLEXECUTEINFOW for 64-bit code: SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC,
  ; SW_SHOWNORMAL; the explicit zeros keep every pointer on its 8-byte boundary.
  System::Call '*(i 112, i 0x140, p $HWNDPARENT, w "runas", w "$EXEPATH", w "$R8", p 0, i 1, i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .R7'
  System::Call 'shell32::ShellExecuteExW(p R7) i .R6'
  ${If} $R6 != 0
    System::Call '*$R7(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .R6)'
    ${If} $R6 != 0
      System::Call 'kernel32::WaitForSingleObject(p R6, i -1)'
      System::Call 'kernel32::GetExitCodeProcess(p R6, *i .R9)'
      System::Call 'kernel32::CloseHandle(p R6)'
    ${EndIf}
  ${EndIf}
  System::Free $R7
FunctionEnd
!macroend
