# Fails when a source file outside app/ includes the window's header: the
# window's class is app/'s alone, and the folders below it know nothing of it.
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/platform/* ${SOURCE_DIR}/seats/* ${SOURCE_DIR}/roster/* ${SOURCE_DIR}/draw/*
     ${SOURCE_DIR}/settings/* ${SOURCE_DIR}/print/* ${SOURCE_DIR}/guide/* ${SOURCE_DIR}/resources/*.cpp)
set(offenders)
foreach(f ${sources})
  if(f MATCHES "\\.(cpp|h)$")
    file(STRINGS ${SOURCE_DIR}/${f} hits REGEX "#[ \t]*include[ \t]*[\"<]app/Main\\.h[\">]")
    if(hits)
      list(APPEND offenders ${f})
    endif()
  endif()
endforeach()
list(LENGTH sources count)
if(count LESS 20)
  message(FATAL_ERROR "only ${count} source files found under ${SOURCE_DIR}")
endif()
if(offenders)
  message(FATAL_ERROR "these files include the window's header: ${offenders}")
endif()
message(STATUS "${count} files below the window, none includes app/Main.h")
