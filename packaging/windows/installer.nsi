; The Windows installer of TAV Dashboard (makensis, from the build: see cmake/WindowsInstaller.cmake).
;
; A per-user install without elevation into %LOCALAPPDATA%\Programs\TAV Dashboard: the program
; folder must stay writable by the client, because settings.ini, the self-update and PROGRAMS\
; all live in it. Installing over an existing copy ends the running program first, replaces the
; program files and keeps settings.ini, which the installer never writes. /S installs silently.
;
; Given by the build with -D: VERSION (four numbers), DISPLAY_VERSION, PUBLISHER, HOMEPAGE,
; PROGRAM, SUPPORT_PROGRAM, SUPPORT_IS_PLACEHOLDER (1 or 0), TASK_XML, MAKETASK, ICON, OUTFILE.

Unicode true
; The program is x86-64: a 64-bit installer sees the same folders and registry view as it does.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh

!define APP_NAME "TAV Dashboard"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TAVDashboard"
!define SHORTCUT "$SMPROGRAMS\${APP_NAME}.lnk"

Name "${APP_NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP_NAME}"
BrandingText "${PUBLISHER}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 ProductName "${APP_NAME}"
VIAddVersionKey /LANG=1033 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=1033 ProductVersion "${DISPLAY_VERSION}"
VIAddVersionKey /LANG=1033 FileVersion "${DISPLAY_VERSION}"
VIAddVersionKey /LANG=1033 FileDescription "${APP_NAME} Setup"
VIAddVersionKey /LANG=1033 LegalCopyright "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "This will install ${APP_NAME} ${DISPLAY_VERSION} from ${PUBLISHER} for you.$\r$\n$\r$\nIf ${APP_NAME} is running, it is closed first; your settings are kept.$\r$\n$\r$\nClick Install to start."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${APP_NAME} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends this user's running dashboard, which holds its file open, and waits (at most 10 s) until
; its file can be replaced. The process ends without its unload handlers, as after a
; self-update; settings.ini is only ever replaced whole, so it cannot be left half written.
!macro EndRunningProgram UN
Function ${UN}EndRunningProgram
  nsExec::Exec 'taskkill /F /IM TAVDashboard.exe'
  Pop $0
  StrCpy $1 0
  ${DoWhile} ${FileExists} "$INSTDIR\TAVDashboard.exe"
    ClearErrors
    Delete "$INSTDIR\TAVDashboard.exe"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 >= 40
      ${Break}
    ${EndIf}
    Sleep 250
  ${Loop}
FunctionEnd
!macroend
!insertmacro EndRunningProgram ""
!insertmacro EndRunningProgram "un."

Function StartProgram
  ; The program reads task.xml and maketask.vbs from its working folder at start.
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\TAVDashboard.exe"'
FunctionEnd

Section "${APP_NAME}"
  SetOutPath "$INSTDIR"
  Call EndRunningProgram
  SetOverwrite on
  File "/oname=TAVDashboard.exe" "${PROGRAM}"
  File "/oname=task.xml" "${TASK_XML}"
  File "/oname=maketask.vbs" "${MAKETASK}"
  ; Left over from an interrupted self-update: the next start would find them stale.
  Delete "$INSTDIR\TAVDashboardNEW.exe"
  Delete "$INSTDIR\DeleteOLD.bat"

  SetOutPath "$INSTDIR\PROGRAMS"
  !if ${SUPPORT_IS_PLACEHOLDER} == 1
    ; The placeholder never replaces a support program the store or its self-update put there.
    SetOverwrite off
  !endif
  File "/oname=TAV-Remote-Support.exe" "${SUPPORT_PROGRAM}"
  SetOverwrite on

  ; The shortcut starts the program in its own folder, as the scheduled task does.
  SetOutPath "$INSTDIR"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\TAVDashboard.exe" "" "$INSTDIR\TAVDashboard.exe" 0 \
    SW_SHOWNORMAL "" "${APP_NAME}: CPU use, uptime and your store's check-up reminders"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${DISPLAY_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\TAVDashboard.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Call un.EndRunningProgram
  ; The logon task the program registers at each start.
  nsExec::Exec 'SCHTASKS /Delete /TN "${APP_NAME}" /F'
  Pop $0

  ; The installer's files, and those the program makes in its folder: its settings, the
  ; self-update's batch files and downloads. Named one by one, so that nothing else in the
  ; folder is ever removed.
  Delete "$INSTDIR\TAVDashboard.exe"
  Delete "$INSTDIR\task.xml"
  Delete "$INSTDIR\maketask.vbs"
  Delete "$INSTDIR\settings.ini"
  Delete "$INSTDIR\DeleteOLD.bat"
  Delete "$INSTDIR\DeleteOLDSuppFile.bat"
  Delete "$INSTDIR\TAVDashboardNEW.exe"
  Delete "$INSTDIR\PROGRAMS\TAV-Remote-Support.exe"
  Delete "$INSTDIR\PROGRAMS\TAV-Remote-SupportNEW.exe"
  RMDir "$INSTDIR\PROGRAMS"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "${SHORTCUT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
