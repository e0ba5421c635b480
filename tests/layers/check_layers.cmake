# The folders are layers: a file includes headers of its own folder and of
# the folders its layer stands on, never of one above it or beside it, so
# that no two folders include each other. Every folder but app/ (the top,
# which may use all) is checked, file by file, include by include.
cmake_minimum_required(VERSION 3.25)
set(layers
  "platform:"
  "seats:platform"
  "roster:seats platform"
  "settings:seats platform"
  "conditions:roster seats platform"
  "history:roster seats platform"
  "draw:conditions roster seats platform"
  "journal:draw roster seats platform"
  "session:journal draw conditions history roster seats platform"
  "print:roster seats platform"
  "widgets:platform"
  "controls:widgets settings roster seats platform"
  "dialogs:widgets conditions history roster seats platform"
  "projector:widgets session draw roster seats platform"
  "printing:widgets print platform"
  "guide:widgets platform"
  "resources:")
set(checked 0)
set(offenders)
foreach(layer ${layers})
  string(REGEX REPLACE ":.*" "" folder "${layer}")
  string(REGEX REPLACE "^[a-z]+:" "" below "${layer}")
  string(REPLACE " " ";" below "${below}")
  set(allowed ${folder} ${below})
  file(GLOB sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  foreach(f ${sources})
    math(EXPR checked "${checked} + 1")
    file(STRINGS ${SOURCE_DIR}/${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([a-z]+)/.*" "\\1" used "${line}")
      if(NOT used IN_LIST allowed)
        list(APPEND offenders "${f} includes ${used}/")
      endif()
    endforeach()
  endforeach()
endforeach()

# Every folder of the tree is a layer above, or app/, or no part of the program.
file(GLOB entries RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(known app bench build docs fuzz scripts tests)
foreach(layer ${layers})
  string(REGEX REPLACE ":.*" "" folder "${layer}")
  list(APPEND known ${folder})
endforeach()
foreach(e ${entries})
  if(IS_DIRECTORY ${SOURCE_DIR}/${e} AND NOT e MATCHES "^\\." AND NOT e IN_LIST known)
    list(APPEND offenders "${e}/ is in no layer")
  endif()
endforeach()

if(checked LESS 100)
  message(FATAL_ERROR "only ${checked} source files found under ${SOURCE_DIR}")
endif()
if(offenders)
  string(REPLACE ";" "\n  " offenders "${offenders}")
  message(FATAL_ERROR "includes against the layers:\n  ${offenders}")
endif()
message(STATUS "${checked} files below the window, each including only from its own layer and those below it")
