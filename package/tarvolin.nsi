; The installer and uninstaller of Tarvolin, built by tools/package, which defines VERSION,
; BIN_DIR (the Windows build's programs), PROGRAM_FILES (an include that names each file
; the program brings, one ProgramFile line each) and OUT_FILE.

Unicode true
; tarvolin.exe is a 64-bit program; a 64-bit installer also sees the 64-bit registry and
; Program Files as the program does.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "Tarvolin"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SETTINGS_KEY "Software\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Copies one of the program's files into the folder, or in the uninstaller removes it.
!macro ProgramFile NAME
  !ifdef __UNINSTALL__
    Delete "$INSTDIR\${NAME}"
  !else
    File "${BIN_DIR}/${NAME}"
  !endif
!macroend

Section "Install"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  !include "${PROGRAM_FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The program keeps its settings, records and log beside itself, and a folder under
  ; Program Files lets only administrators write: the machine's users (S-1-5-32-545) may
  ; change what is in this one. Where icacls is missing the install goes on as before.
  nsExec::Exec 'icacls "$INSTDIR" /grant *S-1-5-32-545:(OI)(CI)M'
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tarvolin.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvolin.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes only what the installer put there, and the user's data and settings only when
; the user says so (a silent uninstall keeps them). The folder goes only once it is empty,
; so nothing else in it, such as a phonebook, is ever removed.
Section "Uninstall"
  SetShellVarContext all
  !include "${PROGRAM_FILES}"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION \
    "Also remove your connection settings, actions, schedules, time records and the \
    connection log?" /SD IDNO IDNO keep_data
  Delete "$INSTDIR\Entries.ini"
  Delete "$INSTDIR\Actions.ini"
  Delete "$INSTDIR\Actions.bak"
  Delete "$INSTDIR\Schedules.ini"
  Delete "$INSTDIR\Schedules.bak"
  Delete "$INSTDIR\TimeCount.CSV"
  Delete "$INSTDIR\TimeCount.run"
  Delete "$INSTDIR\DialLog.TXT"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
keep_data:
  RMDir "$INSTDIR"
SectionEnd
