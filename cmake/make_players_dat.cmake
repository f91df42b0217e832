# Makes players.dat files for the script tests from FIDE lists with the
# Windows players tool: -DRUNNER=wine-run -DPLAYERS=players.exe
# -DLISTS=list.txt|... -DOUTS=folder/players.dat|... (pairwise).
string(REPLACE "|" ";" lists "${LISTS}")
string(REPLACE "|" ";" outs "${OUTS}")
foreach(list out IN ZIP_LISTS lists outs)
  if(NOT EXISTS "${list}")
    message("SKIPPED: ${list} is absent")
    return()
  endif()
  get_filename_component(folder "${out}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  execute_process(COMMAND "${RUNNER}" "${PLAYERS}" import "${list}" "${out}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE count ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "players import ${list} failed (${rc}): ${err}")
  endif()
  string(STRIP "${count}" count)
  message("${out}: ${count} players")
endforeach()
