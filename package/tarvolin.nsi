; The installer and uninstaller of Tarvolin, built by tools/package, which defines VERSION
; (major.minor), BIN_DIR (the Windows build's programs), PROGRAM_FILES (an include with
; the macro ProgramFiles, which names each file the program brings) and OUT_FILE.
;
; Tarvolin keeps its data beside itself, so it is installed for the one user who runs
; it, into that user's own programs folder, without administrator rights: no folder any
; other account runs from is ever writable by this user. Started with /CLEANUP (and by
; the setup itself only so, elevated), it removes an earlier install for all users.
;
; Exit codes besides NSIS's own 1 (cancelled) and 2 (stopped): see EXIT_* below. Every run
; also says what it did in Setup.log in the install folder, where a silent run's caller
; finds it.

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
!define PUBLISHER "Tarvolin"
!define REPARSE_POINT 0x400
; OpenProcess rights to read a process's image path and wait for its end.
!define QUERY_AND_WAIT 0x101000
; Folder rights that let an account put or replace files: add file, add folder, delete
; child, change the access list or owner, generic write or all.
!define WRITE_RIGHTS 0x500C0046
!define ADMINISTRATORS "*S-1-5-32-544"
; CreateFileW's GENERIC_WRITE | DELETE, and OPEN_EXISTING.
!define WRITE_AND_DELETE 0x40010000
!define OPEN_EXISTING 3

; The setup's exit codes.
; Installed; the earlier install's folder stays, only administrators can change it.
!define EXIT_OLD_KEPT 3
; Installed; the earlier install stays as it was.
!define EXIT_OLD_LEFT 4
; Nothing changed: a file of the install is in use.
!define EXIT_IN_USE 5
; Nothing changed: another Tarvolin setup is running.
!define EXIT_SETUP_RUNNING 6
; Nothing changed: the folder given is one other users can change.
!define EXIT_BAD_FOLDER 7
; The exit codes of the clean-up (/CLEANUP).
; Everything removed.
!define CLEANUP_DONE 0
; The folder stays, holding files Tarvolin did not install, but only administrators can change it.
!define CLEANUP_KEPT 1
; Refused or failed: the folder stays as it was.
!define CLEANUP_FAILED 2

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

Page directory "" "" DirectoryLeave
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var OldDir
; What the clean-up removed and what stayed or why nothing was done, for the user, and the
; commands it ran with their codes, for the log.
Var Report
Var Outcome
Var Commands
Var Result
Var RightsTaken
; The program file that could not be written or replaced, and the exit code that says so.
Var Failed
Var FailCode
; How many program files have their new version in place.
Var Swapped
; The data files taken over from the earlier install, as "A, B".
Var TakenOver

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

; Appends a line to Setup.log and the details.
Function Log
  Exch $0
  Push $1
  DetailPrint $0
  CreateDirectory "$INSTDIR"
  FileOpen $1 "$INSTDIR\Setup.log" a
  FileSeek $1 0 END
  FileWrite $1 "$0$\r$\n"
  FileClose $1
  Pop $1
  Pop $0
FunctionEnd

!macro Log TEXT
  Push "${TEXT}"
  Call Log
!macroend

; A message a silent run leaves out, so it goes into the log as well.
!macro Tell ICON TEXT
  !insertmacro Log "${TEXT}"
  MessageBox MB_OK|${ICON} "${TEXT}" /SD IDOK
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

; The copies a replacement leaves beside a program file when it stops half-way.
!macro DeleteLeftovers DIR NAME
  !insertmacro DeleteOwnFile "${DIR}" "${NAME}.new"
  !insertmacro DeleteOwnFile "${DIR}" "${NAME}.old"
!macroend

; Whether a path is a real file or folder and not a link, in $0 (1 or 0).
!macro IsPlain PATH
  System::Call 'kernel32::GetFileAttributesW(w "${PATH}") i .r0'
  IntOp $1 $0 & ${REPARSE_POINT}
  ${If} $0 = -1
  ${OrIf} $1 <> 0
    StrCpy $0 0
  ${Else}
    StrCpy $0 1
  ${EndIf}
!macroend

!macro CloseCopiesFunctions UN
  ; Posts the Exit command to the main window of the process whose id is on the stack.
  Function ${UN}AskToExit
    Exch $R0
    Push $R1
    Push $R2
    StrCpy $R1 0
    ${Do}
      FindWindow $R1 "${MAIN_WINDOW_CLASS}" "" 0 $R1
      ${If} $R1 = 0
        ${Break}
      ${EndIf}
      System::Call 'user32::GetWindowThreadProcessId(p R1, *i .R2)'
      ${If} $R2 = $R0
        System::Call 'user32::PostMessageW(p R1, i ${WM_COMMAND}, p ${EXIT_COMMAND}, p 0)'
      ${EndIf}
    ${Loop}
    Pop $R2
    Pop $R1
    Pop $R0
  FunctionEnd

  ; Asks each running copy of the program whose path is on the stack to exit, as its Exit
  ; command does, and waits up to ten seconds for it; leaves 1 on the stack when one is still
  ; running, else 0. A copy is known by its image path alone: its window class would also
  ; find the user's other copies.
  Function ${UN}CloseCopies
    Exch $R0
    Push $R1
    Push $R2
    Push $R3
    Push $R4
    Push $R5
    Push $R6
    Push $R7
    StrCpy $R7 0
    System::Alloc 16384
    Pop $R1
    System::Call 'kernel32::K32EnumProcesses(p R1, i 16384, *i .R2)'
    IntOp $R2 $R2 / 4
    StrCpy $R3 0
    ${While} $R3 < $R2
      IntOp $R4 $R3 * 4
      IntPtrOp $R4 $R1 + $R4
      System::Call '*$R4(i .R4)'
      System::Call 'kernel32::OpenProcess(i ${QUERY_AND_WAIT}, i 0, i R4) p .R5'
      ${If} $R5 != 0
        StrCpy $R6 ""
        System::Call 'kernel32::QueryFullProcessImageNameW(p R5, i 0, w .R6, *i ${NSIS_MAX_STRLEN})'
        ${If} $R6 == $R0
          Push $R4
          Call ${UN}AskToExit
          System::Call 'kernel32::WaitForSingleObject(p R5, i 10000) i .R6'
          ${If} $R6 <> 0
            StrCpy $R7 1
          ${EndIf}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p R5)'
      ${EndIf}
      IntOp $R3 $R3 + 1
    ${EndWhile}
    System::Free $R1
    StrCpy $R0 $R7
    Pop $R7
    Pop $R6
    Pop $R5
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Exch $R0
  FunctionEnd
!macroend
!insertmacro CloseCopiesFunctions ""
!insertmacro CloseCopiesFunctions "un."

; A program file another program holds open (without sharing writing and deleting) cannot
; be replaced: found before anything is written. An exclusive open for writing and
; deleting shows it.
!macro CheckNotInUse DIR NAME
  ${If} $Failed == ""
  ${AndIf} ${FileExists} "$INSTDIR\${NAME}"
    System::Call 'kernel32::CreateFileW(w "$INSTDIR\${NAME}", i ${WRITE_AND_DELETE}, i 0, p 0, \
      i ${OPEN_EXISTING}, i 0, p 0) p .r0'
    ${If} $0 = -1
      StrCpy $Failed "${NAME}"
      StrCpy $FailCode ${EXIT_IN_USE}
    ${Else}
      System::Call 'kernel32::CloseHandle(p r0)'
    ${EndIf}
  ${EndIf}
!macroend

; Each program file is first written beside its place as NAME.new. Only when all are there do
; they take their places, each earlier file kept as NAME.old until all are in, so that a file
; that cannot be written or replaced (one in use) leaves the earlier version whole.
!macro StageFile DIR NAME
  ${If} $Failed == ""
    ClearErrors
    File "/oname=$INSTDIR\${NAME}.new" "${DIR}/${NAME}"
    ${If} ${Errors}
      StrCpy $Failed "${NAME}"
    ${EndIf}
  ${EndIf}
!macroend

!macro SwapInFile DIR NAME
  ${If} $Failed == ""
    Delete "$INSTDIR\${NAME}.old"
    ClearErrors
    ${If} ${FileExists} "$INSTDIR\${NAME}.old"
      SetErrors
    ${ElseIf} ${FileExists} "$INSTDIR\${NAME}"
      Rename "$INSTDIR\${NAME}" "$INSTDIR\${NAME}.old"
    ${EndIf}
    ${IfNot} ${Errors}
      IntOp $Swapped $Swapped + 1
      Rename "$INSTDIR\${NAME}.new" "$INSTDIR\${NAME}"
    ${EndIf}
    ${If} ${Errors}
      StrCpy $Failed "${NAME}"
      StrCpy $FailCode ${EXIT_IN_USE}
    ${EndIf}
  ${EndIf}
!macroend

; Puts back the earlier file of each of the first $Swapped program files.
!macro SwapBackFile DIR NAME
  ${If} $Swapped > 0
    IntOp $Swapped $Swapped - 1
    Delete "$INSTDIR\${NAME}"
    Rename "$INSTDIR\${NAME}.old" "$INSTDIR\${NAME}"
  ${EndIf}
  Delete "$INSTDIR\${NAME}.new"
!macroend

Function InstallProgramFiles
  StrCpy $Failed ""
  StrCpy $FailCode 2
  StrCpy $Swapped 0
  !insertmacro ProgramFiles CheckNotInUse ""
  !insertmacro CheckNotInUse "" "uninstall.exe"
  !insertmacro ProgramFiles StageFile "${BIN_DIR}"
  ${If} $Failed == ""
    ClearErrors
    WriteUninstaller "$INSTDIR\uninstall.exe.new"
    ${If} ${Errors}
      StrCpy $Failed "uninstall.exe"
    ${EndIf}
  ${EndIf}
  !insertmacro ProgramFiles SwapInFile ""
  !insertmacro SwapInFile "" "uninstall.exe"
  ${If} $Failed != ""
    !insertmacro ProgramFiles SwapBackFile ""
    !insertmacro SwapBackFile "" "uninstall.exe"
    !insertmacro Tell MB_ICONSTOP "Tarvolin could not write $INSTDIR\$Failed, which may be in use: \
      nothing was changed, the earlier version stays. Close what uses it and run the setup again."
    SetErrorLevel $FailCode
    Quit
  ${EndIf}
  !insertmacro ProgramFiles DeleteLeftovers "$INSTDIR"
  !insertmacro DeleteLeftovers "$INSTDIR" "uninstall.exe"
FunctionEnd

; Copies an earlier install's data file into the new folder, where it has none yet. Actions
; start programs and schedules dial and shut down, and both came from a folder any user could
; change: they come switched off, for the user to review.
!macro TakeOverFile FROM NAME
  ${IfNot} ${FileExists} "$INSTDIR\${NAME}"
  ${AndIf} ${FileExists} "${FROM}\${NAME}"
    ClearErrors
    CopyFiles /SILENT "${FROM}\${NAME}" "$INSTDIR"
    ${IfNot} ${Errors}
      ${If} $TakenOver != ""
        StrCpy $TakenOver "$TakenOver, "
      ${EndIf}
      StrCpy $TakenOver "$TakenOver${NAME}"
      !if "${NAME}" == "Actions.ini"
        WriteRegDWORD HKCU "${SETTINGS_KEY}" "CkbEnableAllActions" 0
      !else if "${NAME}" == "Schedules.ini"
        WriteRegDWORD HKCU "${SETTINGS_KEY}" "CkbEnableAllSchedules" 0
      !endif
    ${EndIf}
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
      StrCpy $Report "$Report$\r$\n${DIR}\${NAME}"
    ${EndIf}
  ${EndIf}
!macroend

!macro RemoveOldLeftovers DIR NAME
  !insertmacro RemoveOldFile "${DIR}" "${NAME}.new"
  !insertmacro RemoveOldFile "${DIR}" "${NAME}.old"
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

; Runs icacls on a path; a failure is noted in the commands, and so is every command run on
; the folder itself when NOTE is 1.
!macro Icacls PATH ARGS NOTE
  nsExec::ExecToStack '"$SYSDIR\icacls.exe" "${PATH}" ${ARGS}'
  Pop $0
  Pop $1
  ${If} $0 != 0
  ${OrIf} ${NOTE} = 1
    StrCpy $Commands "$Commands$\r$\nicacls $\"${PATH}$\" ${ARGS}: exit code $0"
  ${EndIf}
  ${If} $0 != 0
    StrCpy $RightsTaken 0
  ${EndIf}
!macroend

; Makes the path on the stack owned by Administrators with only the rights it inherits from
; Program Files, where no user may write. A link is left alone, checked right before, and
; icacls /L would act on a link itself, never on what it leads to. The second value on the
; stack says whether to note the commands (1) or only their failures (0).
Function ResetRights
  Exch $R0
  Exch
  Exch $R3
  !insertmacro IsPlain "$R0"
  ${If} $0 = 1
    !insertmacro Icacls "$R0" "/setowner ${ADMINISTRATORS} /L /Q" $R3
    !insertmacro Icacls "$R0" "/reset /L /Q" $R3
  ${EndIf}
  Pop $R3
  Pop $R0
FunctionEnd

; The folder first, so that no one can add or swap an entry meanwhile, then each entry in it.
Function TakeBackRights
  StrCpy $RightsTaken 1
  Push 1
  Push "$OldDir"
  Call ResetRights
  FindFirst $R1 $R2 "$OldDir\*"
  ${DoWhile} $R2 != ""
    ${If} $R2 != "."
    ${AndIf} $R2 != ".."
      Push 0
      Push "$OldDir\$R2"
      Call ResetRights
    ${EndIf}
    FindNext $R1 $R2
  ${Loop}
  FindClose $R1
  StrCpy $Commands "$Commands$\r$\nthe same for each file in it"
FunctionEnd

; The names in the earlier folder, as "A, B", in $R3.
Function ListOldFolder
  StrCpy $R3 ""
  FindFirst $R1 $R2 "$OldDir\*"
  ${DoWhile} $R2 != ""
    ${If} $R2 != "."
    ${AndIf} $R2 != ".."
      ${If} $R3 != ""
        StrCpy $R3 "$R3, "
      ${EndIf}
      StrCpy $R3 "$R3$R2"
    ${EndIf}
    FindNext $R1 $R2
  ${Loop}
  FindClose $R1
FunctionEnd

; The earlier folder: its running program asked to exit, its rights taken back, then its
; files removed by name and the folder once empty. Sets $Result.
Function RemoveEarlierFolder
  StrCpy $Result ${CLEANUP_DONE}
  ${IfNot} ${FileExists} "$OldDir\*.*"
    Return
  ${EndIf}
  StrCpy $Result ${CLEANUP_FAILED}
  !insertmacro IsPlain "$OldDir"
  ${If} $0 = 0
    StrCpy $Outcome "Nothing was done in $OldDir: it is a link, not a folder Tarvolin installed."
    Return
  ${EndIf}
  Push "$OldDir\tarvolin.exe"
  Call CloseCopies
  Pop $0
  ${If} $0 = 1
    StrCpy $Outcome "Nothing was done in $OldDir: the Tarvolin there is still running and did not exit when asked."
    Return
  ${EndIf}
  Call TakeBackRights
  !insertmacro ProgramFiles RemoveOldFile "$OldDir"
  !insertmacro ProgramFiles RemoveOldLeftovers "$OldDir"
  !insertmacro RemoveOldFile "$OldDir" "uninstall.exe"
  !insertmacro DataFiles RemoveOldFile "$OldDir"
  !insertmacro RemoveOldFile "$OldDir" "DialLog.TXT"
  !insertmacro IsPlain "$OldDir"
  ${If} $0 = 1
    RMDir "$OldDir"
  ${EndIf}
  ${IfNot} ${FileExists} "$OldDir\*.*"
    StrCpy $Report "$Report$\r$\nthe folder $OldDir"
    StrCpy $Result ${CLEANUP_DONE}
    Return
  ${EndIf}
  Call ListOldFolder
  ${If} $RightsTaken = 1
    StrCpy $Outcome "$OldDir stays: it holds files Tarvolin did not install ($R3). \
      Only administrators can change that folder now; look at what is in it and delete it."
    StrCpy $Result ${CLEANUP_KEPT}
  ${Else}
    StrCpy $Outcome "$OldDir stays, with $R3, and its rights could not be taken \
      back: any user may still change it."
  ${EndIf}
FunctionEnd

; The machine's start-up and automatic-dial values that name the earlier folder, through
; which every account would run what any user put there, and its Start-menu shortcut.
Function RemoveEarlierValues
  SetShellVarContext all
  !insertmacro RemoveOldFile "$SMPROGRAMS" "${PRODUCT}.lnk"
  SetShellVarContext current

  ReadRegStr $3 HKLM "${RUN_KEY}" "${PRODUCT}"
  Call NamesOldFolder
  ${If} $3 = 1
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
    StrCpy $Report "$Report$\r$\nthe start with Windows for all users"
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
      StrCpy $Report "$Report$\r$\nthe automatic dial of $6 for all users"
    ${EndIf}
  ${Loop}
FunctionEnd

; The earlier install for all users, removed with administrator rights; the user's own
; settings are no business of it. While its folder stays, so does its uninstall entry, the
; only record of that folder, with what happened in RemovalReport and RemovalCommands, for
; the setup that started this one and for any later one to finish the job. The exit code
; is one of CLEANUP_*.
Function CleanUpEarlierInstall
  Call FindEarlierInstall
  ${If} $OldDir == ""
    MessageBox MB_OK|MB_ICONINFORMATION "No earlier installation of Tarvolin for all users was found." /SD IDOK
    Return
  ${EndIf}
  StrCpy $Report ""
  StrCpy $Outcome ""
  StrCpy $Commands ""
  Call RemoveEarlierFolder
  Call RemoveEarlierValues
  ${If} $Result = ${CLEANUP_DONE}
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    StrCpy $Report "$Report$\r$\nthe earlier entry in the installed programs"
  ${Else}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "RemovalReport" "$Outcome"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "RemovalCommands" "$Commands"
  ${EndIf}
  ${If} $Report != ""
    StrCpy $Report "Removed:$Report$\r$\n$\r$\n"
  ${EndIf}
  MessageBox MB_OK|MB_ICONINFORMATION "$Report$Outcome" /SD IDOK
  SetErrorLevel $Result
FunctionEnd

; Starts this setup again with administrator rights for /CLEANUP and waits for it: its exit
; code in $0, or -1 when it did not start (the elevation was declined).
Function RunCleanUp
  StrCpy $1 "/CLEANUP"
  ${If} ${Silent}
    StrCpy $1 "/S /CLEANUP"
  ${EndIf}
  ; SHELLEXECUTEINFOW with its padding written out; SEE_MASK_NOCLOSEPROCESS (0x40) keeps the
  ; process's handle in its last member.
  System::Call '*(i 112, i 0x40, p $HWNDPARENT, w "runas", w "$EXEPATH", w r1, p 0, i 1, i 0, \
    p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .r2'
  System::Call 'shell32::ShellExecuteExW(p r2) i .r3'
  StrCpy $0 -1
  ${If} $3 <> 0
    System::Call '*$2(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r4)'
    System::Call 'kernel32::WaitForSingleObject(p r4, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r4, *i .r0)'
    System::Call 'kernel32::CloseHandle(p r4)'
  ${EndIf}
  System::Free $2
FunctionEnd

; Tells what the clean-up left, from what it recorded in the earlier uninstall entry.
!macro TellCleanUpRecord ICON TEXT
  ReadRegStr $R2 HKLM "${UNINSTALL_KEY}" "RemovalReport"
  ReadRegStr $R3 HKLM "${UNINSTALL_KEY}" "RemovalCommands"
  !insertmacro Log "Removal of the earlier installation:$R3"
  !insertmacro Tell ${ICON} "${TEXT}$R2"
!macroend

; An earlier version installed for all users under Program Files, in a folder every user
; could change. Its data comes along; then its removal is offered, done by this setup
; started again with administrator rights and waited for.
Function TakeOverEarlierInstall
  Call FindEarlierInstall
  ${If} $OldDir == ""
    Return
  ${EndIf}
  ; The earlier program writes its data and settings on its way out: it goes first.
  Push "$OldDir\tarvolin.exe"
  Call CloseCopies
  Pop $0
  ${If} $0 = 1
    !insertmacro Log "The earlier Tarvolin in $OldDir did not exit when asked: what it had not \
      saved yet stays behind."
  ${EndIf}
  StrCpy $TakenOver ""
  !insertmacro DataFiles TakeOverFile "$OldDir"
  ${If} $TakenOver != ""
    WriteRegStr HKCU "${SETTINGS_KEY}" "TakenOverFrom" "$OldDir"
    WriteRegStr HKCU "${SETTINGS_KEY}" "TakenOver" "$TakenOver"
    !insertmacro Log "Taken over from $OldDir: $TakenOver."
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVEOLD" $R1
  ${If} ${Errors}
    MessageBox MB_YESNO|MB_ICONQUESTION \
      "An earlier Tarvolin is installed for all users in $OldDir, a folder any user of \
      this computer can change. Your connections, actions, schedules and time records were \
      copied to $INSTDIR, the actions and schedules switched off for you to review.$\n$\n\
      Remove the earlier installation now? This removes that \
      folder, its entry in the installed programs, and the start with Windows and automatic \
      dial for all users that use it; your own settings stay. It asks for administrator \
      rights." /SD IDNO IDNO declined
  ${EndIf}
  Call RunCleanUp
  ${If} $0 = ${CLEANUP_DONE}
    !insertmacro Log "The earlier installation in $OldDir was removed."
    Return
  ${ElseIf} $0 = ${CLEANUP_KEPT}
    !insertmacro TellCleanUpRecord MB_ICONEXCLAMATION "The earlier installation was removed but for its folder, \
      which only administrators can change now. Its entry in the installed programs stays until \
      the folder is gone; run this setup again then to remove it.$\r$\n$\r$\n"
    SetErrorLevel ${EXIT_OLD_KEPT}
    Return
  ${ElseIf} $0 = ${CLEANUP_FAILED}
    !insertmacro TellCleanUpRecord MB_ICONEXCLAMATION "The earlier installation could not be removed.$\r$\n$\r$\n"
  ${EndIf}
declined:
  !insertmacro Tell MB_ICONEXCLAMATION \
    "The earlier installation stays in $OldDir. Every user of this computer can change \
    the files in that folder, so any of them can put a program there, as tarvolin.exe or \
    tvndl.dll, that you, the other users or the automatic dial for all users would then \
    run. Run this setup again to remove it, or ask an administrator to."
  SetErrorLevel ${EXIT_OLD_LEFT}
FunctionEnd

; Whether the folder on the stack grants writing to Everyone, Users, Authenticated Users or
; Interactive, in any entry of its access list; 1 or 0 on the stack. No list at all grants
; everything to everyone.
Function OthersCanWrite
  Exch $R0
  Push $0
  Push $1
  Push $2
  Push $3
  Push $R1
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  StrCpy $R5 0
  System::Call 'advapi32::GetNamedSecurityInfoW(w R0, i 1, i 4, p 0, p 0, *p .R1, p 0, *p .R2) i .r0'
  ${If} $0 = 0
  ${AndIf} $R1 = 0
    StrCpy $R5 1
  ${ElseIf} $0 = 0
    System::Call '*(i, i, i) p .R3'
    System::Call 'advapi32::GetAclInformation(p R1, p R3, i 12, i 2)'
    System::Call '*$R3(i .R4)'
    System::Free $R3
    StrCpy $R3 0
    ${While} $R3 < $R4
      System::Call 'advapi32::GetAce(p R1, i R3, *p .r1)'
      System::Call '*$1(&i1 .r2, &i1, &i2, i .r3)'
      IntOp $3 $3 & ${WRITE_RIGHTS}
      ${If} $2 = 0
      ${AndIf} $3 <> 0
        IntPtrOp $1 $1 + 8
        System::Call 'advapi32::ConvertSidToStringSidW(p r1, *p .r2)'
        System::Call 'kernel32::lstrcpynW(w .r3, p r2, i ${NSIS_MAX_STRLEN})'
        System::Call 'kernel32::LocalFree(p r2)'
        ${If} $3 == "S-1-1-0"
        ${OrIf} $3 == "S-1-5-32-545"
        ${OrIf} $3 == "S-1-5-11"
        ${OrIf} $3 == "S-1-5-4"
          StrCpy $R5 1
        ${EndIf}
      ${EndIf}
      IntOp $R3 $R3 + 1
    ${EndWhile}
  ${EndIf}
  ${If} $0 = 0
    System::Call 'kernel32::LocalFree(p R2)'
  ${EndIf}
  StrCpy $R0 $R5
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $3
  Pop $2
  Pop $1
  Pop $0
  Exch $R0
FunctionEnd

; Why $INSTDIR is no place for the program, in $0, or "" when it is one. The program runs
; from it, so no other user may write there; a folder yet to be made takes its rights from
; the nearest one that exists.
Function CheckInstallFolder
  StrCpy $0 ""
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 != ""
  ${AndIf} $1 == $INSTDIR
    StrCpy $0 "$INSTDIR is the earlier installation's folder for all users, which any user \
      can change. Choose another folder."
    Return
  ${EndIf}
  StrCpy $1 $INSTDIR
  ${DoUntil} ${FileExists} "$1\*.*"
    ${GetParent} $1 $1
    ${If} $1 == ""
      Return
    ${EndIf}
  ${Loop}
  Push $1
  Call OthersCanWrite
  Pop $2
  ${If} $2 = 1
    StrCpy $0 "Other users of this computer can change $1, so any of them could replace the \
      program you would run from there. Choose a folder only you can change, such as \
      $LOCALAPPDATA\Programs\${PRODUCT}."
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  Call CheckInstallFolder
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONSTOP "$0"
    Abort
  ${EndIf}
FunctionEnd

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CLEANUP" $R1
  ${IfNot} ${Errors}
    Call CleanUpEarlierInstall
    Quit
  ${EndIf}
  System::Call 'kernel32::CreateMutexW(p 0, i 0, w "${PRODUCT} setup") p .r0 ?e'
  Pop $1
  ${If} $1 = 183
    MessageBox MB_OK|MB_ICONSTOP "Another Tarvolin setup is running: let it finish first." /SD IDOK
    SetErrorLevel ${EXIT_SETUP_RUNNING}
    Quit
  ${EndIf}
FunctionEnd

Section "Install"
  SetShellVarContext current
  ; A silent run shows no folder page: the folder it was given is checked here.
  ${If} ${Silent}
    Call CheckInstallFolder
    ${If} $0 != ""
      SetErrorLevel ${EXIT_BAD_FOLDER}
      Quit
    ${EndIf}
  ${EndIf}
  SetOutPath "$INSTDIR"
  !insertmacro Log "Tarvolin ${VERSION} setup into $INSTDIR."
  Push "$INSTDIR\tarvolin.exe"
  Call CloseCopies
  Pop $0
  ${If} $0 = 1
    !insertmacro Tell MB_ICONSTOP "Tarvolin is running from $INSTDIR and did not exit when asked: \
      nothing was changed. Exit it (right-click its tray icon, Exit) and run the setup again."
    SetErrorLevel ${EXIT_IN_USE}
    Quit
  ${EndIf}
  Call InstallProgramFiles
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tarvolin.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvolin.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  !insertmacro Log "Tarvolin ${VERSION} is installed."
  Call TakeOverEarlierInstall
SectionEnd

; A running program would write its settings and its automatic-dial handler back on its
; way out, and holds its files: it is asked to exit as its Exit command does, and if it
; has not within ten seconds the uninstaller stops before it changes anything.
Function un.CloseProgram
  Push "$INSTDIR\tarvolin.exe"
  Call un.CloseCopies
  Pop $0
  ${If} $0 = 1
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
  !insertmacro IsPlain "$INSTDIR"
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
  !insertmacro ProgramFiles DeleteLeftovers "$INSTDIR"
  !insertmacro DeleteOwnFile "$INSTDIR" "uninstall.exe"
  !insertmacro DeleteLeftovers "$INSTDIR" "uninstall.exe"
  !insertmacro DeleteOwnFile "$INSTDIR" "Setup.log"
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
