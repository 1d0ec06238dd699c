; Setup program for Quillet: puts Quillet.exe, QLTC.exe and QLTC_WS.dll into
; one folder, tells the Explorer extension where that folder is ("AppFolder"),
; registers the extension and adds a Start-menu shortcut and an uninstall entry.
;
;   makensis -DBIN_DIR=<folder of the three files> -DOUT_FILE=<setup.exe>
;            -DVERSION=2.1.0 -DICON=<Quillet.ico> Quillet.nsi
;
; Silent use:  setup.exe /S [/CurrentUser | /AllUsers] [/D=<folder>]
;              Uninstall.exe /S [/RemoveSettings]   (returns at once; the registered
;              QuietUninstallString runs it in place and returns its status)
Unicode true
; The default stub is 32-bit; a 64-bit setup also writes the 64-bit registry
; view and System32 without redirection, where the 64-bit extension belongs.
Target amd64-unicode
ManifestDPIAware true
; Setup and uninstaller run as the invoking user: a per-user install needs no
; rights, and the per-machine paths start an elevated copy themselves
; (Elevation.nsh), so that no one is asked for rights that are not needed.
RequestExecutionLevel user
SetCompressor /SOLID lzma

!ifndef BIN_DIR | OUT_FILE | VERSION | ICON
  !error "BIN_DIR, OUT_FILE, VERSION and ICON must be given with -D"
!endif

!define PRODUCT "Quillet"
!define PUBLISHER "Varnel"
!define APP_KEY "Software\Varnel\Quillet"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet"
!define SHORTCUT "Quillet.lnk"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!include Elevation.nsh
!include InstallMode.nsh
!include Files.nsh

Page custom InstallModePage InstallModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Quillet has been installed.$\r$\n$\r$\nStart it from the Start menu, or right-click files or folders in Explorer and choose $\"Quillet$\".$\r$\n$\r$\nClick Finish to close Setup."
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.SettingsPage un.SettingsPageLeave
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

!include Uninstall.nsh

Section "Quillet" SecMain
  SectionIn RO
  Call ApplyInstallMode
  Call RemovePreviousCopies

  SetOutPath "$INSTDIR"
  !insertmacro MoveAsideIfInUse "$INSTDIR\QLTC_WS.dll"
  File "${BIN_DIR}\Quillet.exe"
  File "${BIN_DIR}\QLTC.exe"
  File "${BIN_DIR}\QLTC_WS.dll"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The extension finds the program through "AppFolder"; the user's own value
  ; wins, the machine's serves every other user of a per-machine install.
  ; "InstallMode" beside it tells Quillet's Settings dialog in which scope to
  ; register the extension; only the machine's record makes it machine-wide.
  WriteRegStr HKCU "${APP_KEY}" "AppFolder" "$INSTDIR"
  ${If} $PerMachine == 1
    WriteRegStr HKCU "${APP_KEY}" "InstallMode" "AllUsers"
    WriteRegStr HKLM "${APP_KEY}" "AppFolder" "$INSTDIR"
    WriteRegStr HKLM "${APP_KEY}" "InstallMode" "AllUsers"
  ${Else}
    WriteRegStr HKCU "${APP_KEY}" "InstallMode" "CurrentUser"
  ${EndIf}

  Call RegisterExtension
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\Quillet.exe" "" "$INSTDIR\Quillet.exe" 0
  Call WriteUninstallEntry
SectionEnd
