; The installer and uninstaller of Tarvolin, built by tools/package, which defines VERSION,
; BIN_DIR (the Windows build's programs), PROGRAM_FILES (an include that names each file
; the program brings, one ProgramFile line each) and OUT_FILE.
;
; Tarvolin keeps its data beside itself, so it is installed for the one user who runs
; it, into that user's own programs folder, without administrator rights: no folder any
; other account runs from is ever writable by this user.

Unicode true
; tarvolin.exe is a 64-bit program; a 64-bit installer also sees the 64-bit registry as
; the program does.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include LogicLib.nsh

!define PRODUCT "Tarvolin"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SETTINGS_KEY "Software\${PRODUCT}"
!define REPARSE_POINT 0x400

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The user's data files, which the program writes beside itself.
!macro DataFiles MACRO ARG
  !insertmacro ${MACRO} "${ARG}" "Entries.ini"
  !insertmacro ${MACRO} "${ARG}" "Actions.ini"
  !insertmacro ${MACRO} "${ARG}" "Actions.bak"
  !insertmacro ${MACRO} "${ARG}" "Schedules.ini"
  !insertmacro ${MACRO} "${ARG}" "Schedules.bak"
  !insertmacro ${MACRO} "${ARG}" "TimeCount.CSV"
  !insertmacro ${MACRO} "${ARG}" "TimeCount.run"
!macroend

; Deletes a file unless it is a link (a reparse point): a link may lead out of the folder.
!macro DeleteOwnFile DIR NAME
  System::Call 'kernel32::GetFileAttributesW(w "${DIR}\${NAME}") i .r0'
  ${If} $0 <> -1
    IntOp $1 $0 & ${REPARSE_POINT}
    ${If} $1 = 0
      Delete "${DIR}\${NAME}"
    ${EndIf}
  ${EndIf}
!macroend

; Copies an earlier install's data file into the new folder, where it has none yet.
!macro TakeOverFile FROM NAME
  ${IfNot} ${FileExists} "$INSTDIR\${NAME}"
  ${AndIf} ${FileExists} "${FROM}\${NAME}"
    CopyFiles /SILENT "${FROM}\${NAME}" "$INSTDIR"
  ${EndIf}
!macroend

; Copies one of the program's files into the folder, or in the uninstaller removes it:
; the uninstaller's list of what to remove is the installer's list of what it wrote.
!macro ProgramFile NAME
  !ifdef __UNINSTALL__
    !insertmacro DeleteOwnFile "$INSTDIR" "${NAME}"
  !else
    File "${BIN_DIR}/${NAME}"
  !endif
!macroend

; An earlier version installed for all users under Program Files, in a folder every user
; could change. Its data comes along; its uninstaller, which needs administrator rights,
; is offered so that the folder does not stay behind.
Function TakeOverEarlierInstall
  ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $2 == ""
  ${OrIf} $2 == "$INSTDIR"
    Return
  ${EndIf}
  !insertmacro DataFiles TakeOverFile "$2"
  ${IfNot} ${FileExists} "$2\uninstall.exe"
    Return
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONQUESTION \
    "An earlier Tarvolin is installed in $2, a folder any user of this computer can \
    change. Your connections, actions, schedules and time records were copied to \
    $INSTDIR.$\n$\nRemove the earlier installation now? It asks for administrator \
    rights; answer No when it asks whether to remove your settings." /SD IDNO IDNO done
  ExecShell "open" "$2\uninstall.exe"
done:
FunctionEnd

Section "Install"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  !include "${PROGRAM_FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tarvolin.exe"
  Call TakeOverEarlierInstall

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvolin.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes only what the installer put there, and the user's data and settings only when
; the user says so (a silent uninstall keeps them). The folder goes only once it is empty,
; so nothing else in it, such as a file of the user's, is ever removed. A folder that is
; itself a link is left alone.
Section "Uninstall"
  SetShellVarContext current
  System::Call 'kernel32::GetFileAttributesW(w "$INSTDIR") i .r0'
  IntOp $1 $0 & ${REPARSE_POINT}
  ${If} $0 = -1
  ${OrIf} $1 <> 0
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR is not a folder Tarvolin installed: nothing was removed." /SD IDOK
    Abort
  ${EndIf}
  !include "${PROGRAM_FILES}"
  !insertmacro DeleteOwnFile "$INSTDIR" "uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION \
    "Also remove your connection settings, actions, schedules, time records and the \
    connection log?" /SD IDNO IDNO keep_data
  !insertmacro DataFiles DeleteOwnFile "$INSTDIR"
  !insertmacro DeleteOwnFile "$INSTDIR" "DialLog.TXT"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
keep_data:
  RMDir "$INSTDIR"
SectionEnd
