# The folders' order check fails on an include that reaches up, naming the file and the
# include, and on a folder it has no place for; a tree that only reaches down passes.
#
#   cmake -DCHECK=<check_layers.cmake> -DWORK_DIR=<scratch folder> -P layers_test.cmake

function(write_tree)
  file(REMOVE_RECURSE ${WORK_DIR})
  foreach(pair IN LISTS ARGN)
    string(REPLACE "=" ";" parts ${pair})
    list(GET parts 0 path)
    list(GET parts 1 text)
    file(WRITE ${WORK_DIR}/${path} "${text}\n")
  endforeach()
endfunction()

# Runs the check on the tree; `expect` is PASS or the text its failure must name.
function(expect_check expect)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK_DIR} -P ${CHECK}
                  RESULT_VARIABLE result ERROR_VARIABLE said OUTPUT_QUIET)
  if(expect STREQUAL "PASS")
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "a tree that only reaches down failed:\n${said}")
    endif()
  elseif(result EQUAL 0)
    message(FATAL_ERROR "the check passed a tree it should fail (${expect})")
  else()
    string(FIND "${said}" "${expect}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "the failure does not say \"${expect}\":\n${said}")
    endif()
  endif()
endfunction()

set(down "src/platform/port.h=#pragma once"
         "src/dialup/dialup.h=#include \"platform/port.h\""
         "src/ui/view_win.cpp=#include \"dialup/dialup.h\"\n#include <windows.h>"
         "rassim/engine.cpp=#include \"dialup/dialup.h\"")
write_tree(${down})
expect_check(PASS)

write_tree(${down} "src/dialup/statistics.cpp=  #  include \"ui/view_win.h\"")
expect_check("src/dialup/statistics.cpp: includes \"ui/view_win.h\", but ui lies above dialup")

write_tree(${down} "rassim/dialer.cpp=#include \"ports/main_ports.h\"")
expect_check("rassim/dialer.cpp: includes \"ports/main_ports.h\", but ports lies above rassim")

write_tree(${down} "src/extras/thing.h=#pragma once")
expect_check("src/extras/thing.h: its folder extras has no place in the order")

write_tree(${down} "src/app/form.h=#include \"extras/thing.h\"")
expect_check("src/app/form.h: includes \"extras/thing.h\", a folder with no place in the order")
