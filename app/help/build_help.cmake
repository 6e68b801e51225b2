# Builds Help_CSV.chm: converts the pages from UTF-8 to Windows-1250 into
# WORK_DIR, compiles the project there with chmcmd and copies the result to
# OUTPUT. Run with cmake -P; see app/CMakeLists.txt for the variables.
file(MAKE_DIRECTORY ${WORK_DIR})
foreach(name IN LISTS FILES)
  if(name MATCHES "\\.(html|hhc|hhk)$")
    execute_process(
      COMMAND ${ICONV} -f UTF-8 -t WINDOWS-1250 ${SOURCE_DIR}/${name}
      OUTPUT_FILE ${WORK_DIR}/${name}
      RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${name}: cannot convert to Windows-1250")
    endif()
  else()
    configure_file(${SOURCE_DIR}/${name} ${WORK_DIR}/${name} COPYONLY)
  endif()
endforeach()
file(REMOVE ${WORK_DIR}/Help_CSV.chm)
execute_process(
  COMMAND ${CHMCMD} --no-html-scan Help_CSV.hhp
  WORKING_DIRECTORY ${WORK_DIR}
  OUTPUT_VARIABLE log ERROR_VARIABLE log
  RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT EXISTS ${WORK_DIR}/Help_CSV.chm)
  message(FATAL_ERROR "chmcmd failed:\n${log}")
endif()
configure_file(${WORK_DIR}/Help_CSV.chm ${OUTPUT} COPYONLY)
