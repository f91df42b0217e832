# The include check must fail on a planted include of each kind it refuses:
# writes a small tree with one of each into -DWORK=folder, runs
# check_layers.cmake on it and checks that it fails naming every one.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
set(planted
    "players/planted.cpp|#include \"tools/tagrun.h\"|outside the layers"
    "pgn/planted.cpp|#include \"players/player.h\"|a higher layer"
    "tagrules/planted.h|#include \"base/guard.h\"|a higher layer"
    "windows/planted.cpp|#include \"tagging/batch.h\"|a higher layer"
    "plugin/planted.cpp|#include \"hostsim/fakehost.h\"|outside the layers"
    "host/planted.h|#include \"paths.h\"|name the header's folder"
    "tools/planted.cpp|#include \"tests/tempdir.h\"|outside the layers"
    "hostsim/planted.cpp|#include \"host/paths.h\"|a higher layer"
    "tests/planted.cpp|#include \"tempdir.h\"|name the header's folder"
    "ratings/windowed.cpp|#include <windows.h>|the portable core")
foreach(entry IN LISTS planted)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 file)
  list(GET parts 1 line)
  file(WRITE "${WORK}/${file}" "${line}\n")
endforeach()
# Includes that are allowed stay quiet.
file(WRITE "${WORK}/tagging/allowed.cpp" "#include \"windows/searchwindow.h\"\n#include <vector>\n")
file(WRITE "${WORK}/tools/allowed.cpp" "#include \"hostsim/fakehost.h\"\n#include \"lumora/hostabi.h\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${WORK} -P ${CMAKE_CURRENT_LIST_DIR}/check_layers.cmake
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "the include check passed a tree with planted includes")
endif()
foreach(entry IN LISTS planted)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 file)
  list(GET parts 2 why)
  if(NOT err MATCHES "${file}: [^\n]*\\(${why}\\)")
    message(FATAL_ERROR "the include check did not name ${file} (${why}):\n${err}")
  endif()
endforeach()
if(err MATCHES "allowed")
  message(FATAL_ERROR "the include check refused an allowed include:\n${err}")
endif()
message("the include check names every planted include")
