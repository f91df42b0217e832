# The demo's story (scripts/demo.script on scripts/demo-data.sh's sample
# data) with the packaged DLL: lumora-sim runs it from a folder of its own
# whose plugins folder holds only the DLL from the zip.
#   -DZIP=velmarsh-V-win32.zip -DVERSION=V -DWORK=folder -DHOST=lumora-sim.exe
#   -DRUNNER=wine-run -DSOURCE_DIR=repository
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/host/plugins")
execute_process(COMMAND unzip -q "${ZIP}" -d "${WORK}/package" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${ZIP}")
endif()
file(COPY "${WORK}/package/velmarsh-${VERSION}-win32/Velmarsh.dll" DESTINATION "${WORK}/host/plugins")
file(COPY "${HOST}" DESTINATION "${WORK}/host")
execute_process(COMMAND bash "${SOURCE_DIR}/scripts/demo-data.sh" "${WORK}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "scripts/demo-data.sh failed")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E env "DEMO_BASE=${WORK}/sample.pgn" "DEMO_DIR=${WORK}"
                        "VELMARSH_URL_LOG=${WORK}/urls.txt"
                        ${RUNNER} "${WORK}/host/lumora-sim.exe" --script "${SOURCE_DIR}/scripts/demo.script"
                        --transcript "${WORK}/transcript.txt" --timeout 120 --site "${WORK}/site"
                WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(transcript "")
if(EXISTS "${WORK}/transcript.txt")
  file(READ "${WORK}/transcript.txt" transcript)
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the demo's story failed (${rc}):\n${out}${err}\n--- transcript:\n${transcript}")
endif()

# What the story leaves behind.
file(READ "${WORK}/sample-tagged.pgn" tagged)
foreach(tag "[WhiteFIDE \"1503014\"]" "[BlackFIDE \"4102142\"]" "[WhiteTitle \"GM\"]")
  string(FIND "${tagged}" "${tag}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the tagged base lacks ${tag}:\n${tagged}\n--- transcript:\n${transcript}")
  endif()
endforeach()
foreach(f host/plugins/players.dat host/player_info.dat svidler-games.pgn urls.txt)
  if(NOT EXISTS "${WORK}/${f}")
    message(FATAL_ERROR "the demo's story did not write ${f}\n--- transcript:\n${transcript}")
  endif()
endforeach()
message(STATUS "the demo's story ran with the packaged Velmarsh.dll")
