# Fails unless the DLL's export table names exactly StartLumoraProc and
# StopLumoraProc, without decoration.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(([ \t]+\\[[ 0-9]+\\] [^\n]*\n)*)" table "${dump}")
# One "name," per table line, without the ordinal column.
string(REGEX REPLACE "[ \t]+\\[[ 0-9]+\\] ([^\n]*)\n" "\\1," names "${CMAKE_MATCH_1}")
if(NOT names STREQUAL "StartLumoraProc,StopLumoraProc,")
  message(FATAL_ERROR "unexpected exports: '${names}'")
endif()
message(STATUS "exports: ${names}")
