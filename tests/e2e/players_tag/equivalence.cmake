# `players tag` against the plug-in's "Add tags for all players" in
# lumora-sim, on one base and list:
#   -DPLAYERS=players.exe -DSIM=lumora-sim.exe -DPLUGIN=Velmarsh.dll
#   -DWINE_RUN=wine-run -DLIST=list.txt -DBASE=base.pgn -DRUN_DIR=folder
#   [-DSETTINGS=player_info.dat] [-DRENAME_WHITE_IDS=1] [-DCUT_BYTES=n]
# 1. The plug-in answers every search window with Skip; `players tag` runs
#    with its defaults but --loose (the plug-in's rule for taking a player
#    without asking, without the fit of the names). 2. The plug-in takes the
#    first or the second row of each window in turn; `players tag` gets the
#    same choices in its report's choice column. Each time the host saves
#    the plug-in's base, opens the command's output and saves it in its own
#    style too, and the two files must be the same byte for byte: the same
#    games with the same tags in the same order.
# RENAME_WHITE_IDS turns the base's WhiteFideId tags into WhiteFIDE, so that
# White places carry the FIDE ID the plug-in reads; CUT_BYTES keeps the games
# that begin within the first n bytes.
cmake_policy(SET CMP0007 NEW)  # empty report fields stay list elements
foreach(path "${LIST}" "${BASE}")
  if(NOT EXISTS "${path}")
    message("SKIPPED: ${path} is absent")
    return()
  endif()
endforeach()

file(REMOVE_RECURSE "${RUN_DIR}")
file(MAKE_DIRECTORY "${RUN_DIR}/plugins")
file(COPY "${SIM}" DESTINATION "${RUN_DIR}")
file(COPY "${PLUGIN}" DESTINATION "${RUN_DIR}/plugins")
get_filename_component(sim_name "${SIM}" NAME)
set(settings_args "")
if(DEFINED SETTINGS)
  file(COPY "${SETTINGS}" DESTINATION "${RUN_DIR}")
  set(settings_args --settings "${SETTINGS}")
endif()

function(run what)
  execute_process(COMMAND "${WINE_RUN}" ${ARGN} WORKING_DIRECTORY "${RUN_DIR}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} ended with ${rc}\n${out}\n${err}")
  endif()
  message("${what}: ${err}")
endfunction()

run("players import" "${PLAYERS}" import "${LIST}" plugins/players.dat)
if(DEFINED CUT_BYTES)
  file(READ "${BASE}" text LIMIT ${CUT_BYTES})
  string(FIND "${text}" "\n[Event " end REVERSE)
  math(EXPR end "${end} + 1")
  string(SUBSTRING "${text}" 0 ${end} text)
else()
  file(READ "${BASE}" text)
endif()
if(RENAME_WHITE_IDS)
  string(REPLACE "[WhiteFideId " "[WhiteFIDE " text "${text}")
endif()
file(WRITE "${RUN_DIR}/base.pgn" "${text}")

# The rows of a report whose result is "ambiguous", in name order: the names
# for which the plug-in opens its search window.
function(ambiguous_rows report out)
  file(STRINGS "${report}" lines)
  set(rows "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[^\t]*\t[0-9]+\tambiguous\t")
      list(APPEND rows "${line}")
    endif()
  endforeach()
  set(${out} "${rows}" PARENT_SCOPE)
endfunction()

# keys: one key sequence per window, in order.
function(run_plugin round keys)
  set(script "timeout 300\nopen base.pgn\nmenu Tools > More about players > Add tags for all players\n")
  string(APPEND script "wait-window Add information about players...\n")
  foreach(k IN LISTS keys)
    string(APPEND script "wait-window Search FIDE for*\nkey ${k}\n")
  endforeach()
  string(APPEND script "wait-closed Add information about players...\nsave plugin-${round}.pgn\n")
  string(APPEND script "open command-${round}.pgn\nsave command-${round}-saved.pgn\n")
  string(APPEND script "compare plugin-${round}.pgn command-${round}-saved.pgn\n")
  file(WRITE "${RUN_DIR}/${round}.script" "${script}")
  execute_process(COMMAND "${WINE_RUN}" "${RUN_DIR}/${sim_name}" --script ${round}.script
                          --transcript ${round}.transcript --timeout 3000
                  WORKING_DIRECTORY "${RUN_DIR}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    execute_process(COMMAND tail -n 30 "${RUN_DIR}/${round}.transcript" OUTPUT_VARIABLE tail)
    message(FATAL_ERROR "lumora-sim (${round}) ended with ${rc}\n${err}\n--- transcript ends:\n${tail}")
  endif()
  file(STRINGS "${RUN_DIR}/${round}.transcript" same REGEX "^files .* are identical")
  if(NOT same)
    message(FATAL_ERROR "${round}: the saved bases were not compared")
  endif()
  message("${round}: ${same}")
endfunction()

# 1. Every question answered with Skip (Up Up from the first row is Skip,
#    the row above Cancel).
run("players tag" "${PLAYERS}" tag plugins/players.dat base.pgn -o command-skip.pgn --report skip.tsv --loose
    ${settings_args})
ambiguous_rows("${RUN_DIR}/skip.tsv" rows)
list(LENGTH rows windows)
message("${windows} names with several candidates")
set(keys "")
foreach(row IN LISTS rows)
  list(APPEND keys "Up Up Enter")
endforeach()
run_plugin(skip "${keys}")

# 2. The first and the second candidate in turn, by key and by choice.
set(keys "")
set(choices "name\tgames\tresult\tfide_id\tchoice\tnote\tcandidates\n")
set(i 0)
foreach(row IN LISTS rows)
  string(REPLACE "\t" ";" fields "${row}")
  math(EXPR pick "${i} % 2")
  math(EXPR column "6 + ${pick}")
  list(GET fields 0 name)
  list(GET fields ${column} candidate)
  string(REGEX MATCH "^[0-9]+" id "${candidate}")
  string(APPEND choices "${name}\t\t\t\t${id}\n")
  if(pick EQUAL 0)
    list(APPEND keys "Enter")
  else()
    list(APPEND keys "Down Enter")
  endif()
  math(EXPR i "${i} + 1")
endforeach()
file(WRITE "${RUN_DIR}/choices.tsv" "${choices}")
run("players tag --choices" "${PLAYERS}" tag plugins/players.dat base.pgn -o command-choose.pgn
    --choices choices.tsv --report choose.tsv --loose ${settings_args})
run_plugin(choose "${keys}")
