; The installer and uninstaller of Tarvolin, built by tools/package, which defines VERSION
; (major.minor), BIN_DIR (the Windows build's programs), PROGRAM_FILES (an include with
; the macro ProgramFiles, which names each file the program brings) and OUT_FILE.
;
; Tarvolin keeps its data beside itself, so it is installed for the one user who runs
; it, into that user's own programs folder, without administrator rights: no folder any
; other account runs from is ever writable by this user. Started with /CLEANUP (and by
; the setup itself only so, elevated), it removes an earlier install for all users.

Unicode true
; tarvolin.exe is a 64-bit program; a 64-bit installer also sees the 64-bit registry as
; the program does.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define PRODUCT "Tarvolin"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SETTINGS_KEY "Software\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define AUTODIAL_PROFILES ".DEFAULT\RemoteAccess\Profile"
!define MAIN_WINDOW_CLASS "TTarvolinMainForm"
!define EXIT_COMMAND 250
!define REPARSE_POINT 0x400
!define SYNCHRONIZE 0x100000

!include "${PROGRAM_FILES}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

; Windows counts versions in four numbers.
VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Tarvolin setup"
VIAddVersionKey "OriginalFilename" "tarvolin-${VERSION}-setup.exe"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var OldDir
Var Removed

; The user's data files, which the program writes beside itself.
!macro DataFiles MACRO ARG
  !insertmacro ${MACRO} "${ARG}" "Entries.ini"
  !insertmacro ${MACRO} "${ARG}" "Actions.ini"
  !insertmacro ${MACRO} "${ARG}" "Actions.bak"
  !insertmacro ${MACRO} "${ARG}" "Schedules.ini"
  !insertmacro ${MACRO} "${ARG}" "Schedules.bak"
  !insertmacro ${MACRO} "${ARG}" "TimeCount.CSV"
  !insertmacro ${MACRO} "${ARG}" "TimeCount.run"
  !insertmacro ${MACRO} "${ARG}" "Sessions.csv"
!macroend

!macro InstallFile DIR NAME
  File "${DIR}/${NAME}"
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

; Whether a folder is a real one and not a link, in $0 (1 or 0).
!macro IsPlainFolder DIR
  System::Call 'kernel32::GetFileAttributesW(w "${DIR}") i .r0'
  IntOp $1 $0 & ${REPARSE_POINT}
  ${If} $0 = -1
  ${OrIf} $1 <> 0
    StrCpy $0 0
  ${Else}
    StrCpy $0 1
  ${EndIf}
!macroend

; Copies an earlier install's data file into the new folder, where it has none yet.
!macro TakeOverFile FROM NAME
  ${IfNot} ${FileExists} "$INSTDIR\${NAME}"
  ${AndIf} ${FileExists} "${FROM}\${NAME}"
    CopyFiles /SILENT "${FROM}\${NAME}" "$INSTDIR"
  ${EndIf}
!macroend

; The earlier install for all users: its folder, in $OldDir, or "" when there is none.
Function FindEarlierInstall
  ReadRegStr $OldDir HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $OldDir == "$INSTDIR"
    StrCpy $OldDir ""
  ${EndIf}
FunctionEnd

; Removes a file of the earlier install, and notes it in the report.
!macro RemoveOldFile DIR NAME
  ${If} ${FileExists} "${DIR}\${NAME}"
    !insertmacro DeleteOwnFile "${DIR}" "${NAME}"
    ${IfNot} ${FileExists} "${DIR}\${NAME}"
      StrCpy $Removed "$Removed$\r$\n${DIR}\${NAME}"
    ${EndIf}
  ${EndIf}
!macroend

; Whether the command line or path in $3 starts in the earlier install's folder, in $3
; (1 or 0).
Function NamesOldFolder
  StrCpy $4 $3 1
  ${If} $4 == '"'
    StrCpy $3 $3 "" 1
  ${EndIf}
  StrLen $4 "$OldDir\"
  StrCpy $3 $3 $4
  ${If} $3 == "$OldDir\"
    StrCpy $3 1
  ${Else}
    StrCpy $3 0
  ${EndIf}
FunctionEnd

; The earlier install for all users, removed with administrator rights: its files and
; folder, its Start-menu shortcut and uninstall entry, and the machine's start-up and
; automatic-dial values that name its folder, through which every account would run what
; any user put there. The user's own settings are no business of it.
Function CleanUpEarlierInstall
  Call FindEarlierInstall
  ${If} $OldDir == ""
    MessageBox MB_OK|MB_ICONINFORMATION "No earlier installation of Tarvolin for all users was found." /SD IDOK
    Return
  ${EndIf}
  StrCpy $Removed ""
  !insertmacro IsPlainFolder "$OldDir"
  ${If} $0 = 1
    !insertmacro ProgramFiles RemoveOldFile "$OldDir"
    !insertmacro RemoveOldFile "$OldDir" "uninstall.exe"
    !insertmacro DataFiles RemoveOldFile "$OldDir"
    !insertmacro RemoveOldFile "$OldDir" "DialLog.TXT"
    RMDir "$OldDir"
    ${IfNot} ${FileExists} "$OldDir\*.*"
      StrCpy $Removed "$Removed$\r$\nthe folder $OldDir"
    ${EndIf}
  ${EndIf}

  SetShellVarContext all
  !insertmacro RemoveOldFile "$SMPROGRAMS" "${PRODUCT}.lnk"
  SetShellVarContext current

  ReadRegStr $3 HKLM "${RUN_KEY}" "${PRODUCT}"
  Call NamesOldFolder
  ${If} $3 = 1
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
    StrCpy $Removed "$Removed$\r$\nthe start with Windows for all users"
  ${EndIf}

  StrCpy $5 0
  ${Do}
    EnumRegKey $6 HKU "${AUTODIAL_PROFILES}" $5
    ${If} $6 == ""
      ${Break}
    ${EndIf}
    IntOp $5 $5 + 1
    ReadRegStr $3 HKU "${AUTODIAL_PROFILES}\$6" "AutoDialDllName"
    Call NamesOldFolder
    ${If} $3 = 1
      DeleteRegValue HKU "${AUTODIAL_PROFILES}\$6" "AutoDialDllName"
      DeleteRegValue HKU "${AUTODIAL_PROFILES}\$6" "AutoDialFcnName"
      StrCpy $Removed "$Removed$\r$\nthe automatic dial of $6 for all users"
    ${EndIf}
  ${Loop}

  ClearErrors
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${IfNot} ${Errors}
    StrCpy $Removed "$Removed$\r$\nthe earlier entry in the installed programs"
  ${EndIf}

  ${If} ${FileExists} "$OldDir\*.*"
    StrCpy $Removed "$Removed$\r$\n$\r$\n$OldDir stays: it holds files Tarvolin did not install. \
      Any user can change that folder; look at what is in it and delete it."
  ${EndIf}
  MessageBox MB_OK|MB_ICONINFORMATION "Removed:$Removed" /SD IDOK
FunctionEnd

; An earlier version installed for all users under Program Files, in a folder every user
; could change. Its data comes along; then its removal is offered, done by this setup
; started again with administrator rights and waited for.
Function TakeOverEarlierInstall
  Call FindEarlierInstall
  ${If} $OldDir == ""
    Return
  ${EndIf}
  !insertmacro DataFiles TakeOverFile "$OldDir"
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVEOLD" $R1
  ${If} ${Errors}
    MessageBox MB_YESNO|MB_ICONQUESTION \
      "An earlier Tarvolin is installed for all users in $OldDir, a folder any user of \
      this computer can change. Your connections, actions, schedules and time records were \
      copied to $INSTDIR.$\n$\nRemove the earlier installation now? This removes that \
      folder, its entry in the installed programs, and the start with Windows and automatic \
      dial for all users that use it; your own settings stay. It asks for administrator \
      rights." /SD IDNO IDNO declined
  ${EndIf}
  ${If} ${Silent}
    ExecShellWait "runas" "$EXEPATH" "/S /CLEANUP"
  ${Else}
    ExecShellWait "runas" "$EXEPATH" "/CLEANUP"
  ${EndIf}
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R1 == ""
    Return
  ${EndIf}
declined:
  MessageBox MB_OK|MB_ICONEXCLAMATION \
    "The earlier installation stays in $OldDir. Every user of this computer can change \
    the files in that folder, so any of them can put a program there, as tarvolin.exe or \
    tvndl.dll, that you, the other users or the automatic dial for all users would then \
    run. Run this setup again to remove it, or ask an administrator to." /SD IDOK
FunctionEnd

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CLEANUP" $R1
  ${IfNot} ${Errors}
    Call CleanUpEarlierInstall
    Quit
  ${EndIf}
FunctionEnd

Section "Install"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  !insertmacro ProgramFiles InstallFile "${BIN_DIR}"
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

; A running program would write its settings and its automatic-dial handler back on its
; way out, and holds its files: it is asked to exit as its Exit command does, and if it
; has not within ten seconds the uninstaller stops before it changes anything.
Function un.CloseProgram
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 = 0
    Return
  ${EndIf}
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
  System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
  System::Call 'user32::PostMessageW(p r0, i ${WM_COMMAND}, p ${EXIT_COMMAND}, p 0)'
  System::Call 'kernel32::WaitForSingleObject(p r2, i 10000) i .r3'
  System::Call 'kernel32::CloseHandle(p r2)'
  ${If} $3 <> 0
    MessageBox MB_OK|MB_ICONSTOP "Tarvolin is still running and did not exit when asked: \
      nothing was removed. Exit it (right-click its tray icon, Exit) and remove it again." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

; Removes only what the installer put there, and the user's data and settings only when
; the user says so (a silent uninstall keeps them). The folder goes only once it is empty,
; so nothing else in it, such as a file of the user's, is ever removed. A folder that is
; itself a link is left alone.
Section "Uninstall"
  SetShellVarContext current
  !insertmacro IsPlainFolder "$INSTDIR"
  ${If} $0 = 0
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR is not a folder Tarvolin installed: nothing was removed." /SD IDOK
    Abort
  ${EndIf}
  Call un.CloseProgram
  ; The program takes back what it registered outside its folder (automatic dial in the
  ; phonebook entries, start with Windows) while it is still there to do so.
  ClearErrors
  ExecWait '"$INSTDIR\tarvolin.exe" /unregister' $0
  ${If} ${Errors}
  ${OrIf} $0 <> 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "Tarvolin could not take back its automatic dial \
      and its start with Windows: your phonebook entries or the programs started with \
      Windows may still name it." /SD IDOK
  ${EndIf}
  !insertmacro ProgramFiles DeleteOwnFile "$INSTDIR"
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
