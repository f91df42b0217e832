# Runs lumora-sim on a script in a scratch folder of its own and compares the
# transcript with a golden file.
#   -DEXE=lumora-sim.exe -DPLUGINS=a.dll|b.dll -DSCRIPT=x.script -DGOLDEN=x.transcript
#   -DRUN_DIR=folder -DWINE_RUN=wine-run [-DEXPECT_EXIT=n] [-DSITE=folder]
#   [-DSITE_PORT_FILE=file] [-DNEEDS=path-that-must-exist]
#   [-DSTDOUT=1]  (the transcript goes to standard output: --transcript -)
#   [-DFILES=source@folder|...]  (files copied into folders of the run, "." or "plugins")
# With the environment variable LUMORA_UPDATE_GOLDEN=1 the golden file is
# rewritten from the run instead.
if(DEFINED NEEDS AND NOT EXISTS "${NEEDS}")
  message("SKIPPED: ${NEEDS} is absent")
  return()
endif()
if(NOT DEFINED EXPECT_EXIT)
  set(EXPECT_EXIT 0)
endif()

file(REMOVE_RECURSE "${RUN_DIR}")
file(MAKE_DIRECTORY "${RUN_DIR}/plugins")
file(COPY "${EXE}" DESTINATION "${RUN_DIR}")
string(REPLACE "|" ";" plugin_list "${PLUGINS}")
foreach(plugin ${plugin_list})
  file(COPY "${plugin}" DESTINATION "${RUN_DIR}/plugins")
endforeach()
string(REPLACE "|" ";" file_list "${FILES}")
foreach(entry ${file_list})
  string(REGEX MATCH "^(.*)@([^@]*)$" pair "${entry}")
  file(MAKE_DIRECTORY "${RUN_DIR}/${CMAKE_MATCH_2}")
  file(COPY "${CMAKE_MATCH_1}" DESTINATION "${RUN_DIR}/${CMAKE_MATCH_2}")
endforeach()
get_filename_component(exe_name "${EXE}" NAME)

set(transcript transcript.txt)
if(STDOUT)
  set(transcript -)
endif()
set(args --script "${SCRIPT}" --transcript ${transcript} --timeout 90)
if(DEFINED SITE)
  list(APPEND args --site "${SITE}")
endif()
if(DEFINED SITE_PORT_FILE)
  file(READ "${SITE_PORT_FILE}" port)
  string(STRIP "${port}" port)
  list(APPEND args --site "http://127.0.0.1:${port}")
endif()

# Web addresses the plug-in opens are recorded there (scripts/record-url.sh).
execute_process(COMMAND "${CMAKE_COMMAND}" -E env "VELMARSH_URL_LOG=${RUN_DIR}/urls.txt"
                        "${WINE_RUN}" "${RUN_DIR}/${exe_name}" ${args}
                WORKING_DIRECTORY "${RUN_DIR}" RESULT_VARIABLE rc
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(STDOUT)
  set(got "${out}")
  set(out "")
  file(WRITE "${RUN_DIR}/transcript.txt" "${got}")
elseif(EXISTS "${RUN_DIR}/transcript.txt")
  file(READ "${RUN_DIR}/transcript.txt" got)
else()
  set(got "")
endif()
if(NOT rc EQUAL EXPECT_EXIT)
  message(FATAL_ERROR "lumora-sim ended with ${rc}, expected ${EXPECT_EXIT}\n${out}${err}\n--- transcript:\n${got}")
endif()

if("$ENV{LUMORA_UPDATE_GOLDEN}" STREQUAL "1")
  file(WRITE "${GOLDEN}" "${got}")
  message("golden file rewritten: ${GOLDEN}")
  return()
endif()
file(READ "${GOLDEN}" want)
if(NOT got STREQUAL want)
  execute_process(COMMAND diff -u "${GOLDEN}" "${RUN_DIR}/transcript.txt" OUTPUT_VARIABLE diff)
  message(FATAL_ERROR "the transcript differs from ${GOLDEN}:\n${diff}")
endif()
message("transcript matches ${GOLDEN}")
