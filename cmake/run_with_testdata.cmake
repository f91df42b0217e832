# Runs a test program when the real test data is there, and says "SKIPPED:"
# (ctest's skip) when it is not.
#   -DNEEDS=path|... -DCOMMAND=program|arg|... [-DRUNNER=wine-run]
string(REPLACE "|" ";" needs "${NEEDS}")
foreach(path ${needs})
  if(NOT EXISTS "${path}")
    message("SKIPPED: the real test data is absent (${path})")
    return()
  endif()
endforeach()
string(REPLACE "|" ";" command "${COMMAND}")
execute_process(COMMAND ${RUNNER} ${command} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${command} ended with ${rc}")
endif()
