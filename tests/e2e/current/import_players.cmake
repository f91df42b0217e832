# Imports a FIDE list into a players.dat with the players tool.
#   -DRUNNER=wine-run -DPLAYERS=players.exe -DLIST=list.txt -DOUT=players.dat
if(NOT EXISTS "${LIST}")
  message("SKIPPED: ${LIST} is absent")
  return()
endif()
get_filename_component(folder "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
file(REMOVE "${OUT}")
execute_process(COMMAND ${RUNNER} "${PLAYERS}" import "${LIST}" "${OUT}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS "${OUT}")
  message(FATAL_ERROR "players import failed (${rc}):\n${out}${err}")
endif()
message("imported ${out}")
