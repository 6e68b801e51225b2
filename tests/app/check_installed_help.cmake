# Checks that the installed Help_CSV.chm lies in the folder the program looks
# in: installs the build into a scratch root and looks for the help file at
# root + HELP_DIR (the folder compiled into the program). Run with cmake -P,
# BUILD_DIR, HELP_DIR and WORK_DIR set.
if(NOT IS_ABSOLUTE "${HELP_DIR}")
  message(FATAL_ERROR "the installed help folder '${HELP_DIR}' is not absolute")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
set(ENV{DESTDIR} "${WORK_DIR}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" RESULT_VARIABLE result
                OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
if(NOT EXISTS "${WORK_DIR}${HELP_DIR}/Help_CSV.chm")
  file(GLOB_RECURSE found "${WORK_DIR}/*Help_CSV.chm")
  message(FATAL_ERROR "the program looks in ${HELP_DIR}, the help was installed as ${found}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
message(STATUS "Help_CSV.chm is installed in ${HELP_DIR}, where the program looks")
