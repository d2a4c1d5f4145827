# Holds the program's folders to one order, lowest first: a file may include its own
# folder and the folders below it, never one above, so no two folders lean on each other.
#
#   cmake -DSOURCE_DIR=<top of the tree> -P check_layers.cmake
#
# Reads every header and source under src/, autodial/ and rassim/, names each file and
# include that breaks the order, and fails. A folder missing from the list fails too: a
# new folder takes its place here first.

set(layers
    # The ports, their Win32 adapters and the dialog base every dialog view uses.
    platform
    # The dial-up component; the automatic-dial companion library, which knows only the
    # ports and RAS; and the RAS substitute that speaks the component's types.
    dialup
    autodial
    rassim
    # The bundle of every port, as the concerns take it.
    ports
    # Settings and profiles, with the schedule store, and their dialogs.
    settings
    profiles
    schedule
    # The connection log, below every concern that writes to it.
    log
    # The concerns, each on the ones before it.
    actions
    accounting
    update
    commands
    display
    dialing
    scheduler
    hotkeys
    monitor
    # The main controller that composes them.
    app
    # The window views and the program's entry.
    ui)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "check_layers: give -DSOURCE_DIR=<top of the tree>")
endif()

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp
     ${SOURCE_DIR}/autodial/*.h ${SOURCE_DIR}/autodial/*.cpp ${SOURCE_DIR}/rassim/*.h
     ${SOURCE_DIR}/rassim/*.cpp)
list(SORT files)

set(faults "")
foreach(file IN LISTS files)
  if(file MATCHES "^src/([^/]+)/")
    set(folder ${CMAKE_MATCH_1})
  else()
    string(REGEX REPLACE "/.*" "" folder ${file})
  endif()
  list(FIND layers ${folder} own)
  if(own EQUAL -1)
    string(APPEND faults "\n  ${file}: its folder ${folder} has no place in the order")
    continue()
  endif()

  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*(\"[^\"]+\").*" "\\1" included "${line}")
    string(REGEX REPLACE "^\"([^/]+)/.*" "\\1" target "${included}")
    list(FIND layers ${target} rank)
    if(rank EQUAL -1)
      string(APPEND faults "\n  ${file}: includes ${included}, a folder with no place in the order")
    elseif(rank GREATER own)
      string(APPEND faults "\n  ${file}: includes ${included}, but ${target} lies above ${folder}")
    endif()
  endforeach()
endforeach()

if(faults)
  string(JOIN ", " order ${layers})
  message(FATAL_ERROR "Includes that break the folders' order (lowest first: ${order}):${faults}")
endif()
