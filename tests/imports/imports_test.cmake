# The program imports only libraries Windows maps from its own folder whatever lies beside
# the program: the known libraries (the KnownDLLs list, with ntdll and kernelbase) and the
# common controls, which the manifest binds to the system's side-by-side copy. Any other
# library in the import table is searched for in the program's folder first, where a copy
# planted beside a portable install would load in the system's place.
#
#   cmake -DOBJDUMP=<objdump for the target> -DPROGRAM=<tarvolin.exe> -P imports_test.cmake

cmake_minimum_required(VERSION 3.25)

set(allowed
    advapi32 clbcatq combase comdlg32 coml2 gdi32 gdiplus imagehlp imm32 kernel32 kernelbase
    msctf msvcrt normaliz nsi ntdll ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore
    shell32 shlwapi user32 wldap32 ws2_32 comctl32)

execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(failed OR NOT imports)
  message(FATAL_ERROR "cannot read the import table of ${PROGRAM}")
endif()
set(foreign "")
foreach(line IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: (.+)\\.[dD][lL][lL]$" "\\1" name "${line}")
  string(TOLOWER "${name}" name)
  if(NOT name IN_LIST allowed)
    list(APPEND foreign ${name})
  endif()
endforeach()
if(foreign)
  list(JOIN foreign ", " foreign)
  message(FATAL_ERROR "${PROGRAM} imports libraries the system may take from beside it: "
                      "${foreign}")
endif()
