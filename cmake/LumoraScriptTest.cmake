# add_lumora_script_test: a ctest that runs lumora-sim on a script in a
# scratch folder of its own (build/win32/script-runs/NAME) and compares its
# transcript with a golden file (see docs/hostsim.md).
#
#   add_lumora_script_test(NAME SCRIPT file.script [GOLDEN file.transcript]
#       [PLUGINS dll...]         default: the plug-in Velmarsh.dll
#       [FILES source@folder...] extra files, e.g. players.dat@plugins
#       [EXPECT_EXIT n] [SITE folder] [HTTP] [STDOUT] [NEEDS path])
#
# GOLDEN defaults to the script's name with .transcript. HTTP serves the
# games site from tests/hostsim/site through the hostsim_http fixture. NEEDS
# skips the test when that path is absent. STDOUT takes the transcript from
# standard output (--transcript -). LUMORA_UPDATE_GOLDEN=1 in the
# environment rewrites the golden files instead of comparing.
function(add_lumora_script_test name)
  cmake_parse_arguments(T "HTTP;STDOUT" "SCRIPT;GOLDEN;EXPECT_EXIT;SITE;NEEDS" "PLUGINS;FILES" ${ARGN})
  if(NOT T_PLUGINS)
    set(T_PLUGINS $<TARGET_FILE:Velmarsh>)
  endif()
  if(NOT T_GOLDEN)
    string(REGEX REPLACE "\\.script$" ".transcript" T_GOLDEN "${T_SCRIPT}")
  endif()
  string(REPLACE ";" "|" plugins "${T_PLUGINS}")
  string(REPLACE ";" "|" files "${T_FILES}")
  set(args -DEXE=$<TARGET_FILE:lumora-sim> "-DPLUGINS=${plugins}" "-DFILES=${files}"
      -DSCRIPT=${T_SCRIPT} -DGOLDEN=${T_GOLDEN}
      -DRUN_DIR=${CMAKE_BINARY_DIR}/script-runs/${name} -DWINE_RUN=${CMAKE_BINARY_DIR}/wine-run)
  if(DEFINED T_EXPECT_EXIT)
    list(APPEND args -DEXPECT_EXIT=${T_EXPECT_EXIT})
  endif()
  if(T_SITE)
    list(APPEND args -DSITE=${T_SITE})
  endif()
  if(T_HTTP)
    list(APPEND args -DSITE_PORT_FILE=${CMAKE_BINARY_DIR}/hostsim-http/port)
  endif()
  if(T_STDOUT)
    list(APPEND args -DSTDOUT=1)
  endif()
  if(T_NEEDS)
    list(APPEND args -DNEEDS=${T_NEEDS})
  endif()
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} ${args} -P ${CMAKE_SOURCE_DIR}/cmake/run_lumora_script.cmake)
  # Alone: the mouse pointer, where windows open, is shared by every program
  # on the display.
  set_tests_properties(${name} PROPERTIES TIMEOUT 150 SKIP_REGULAR_EXPRESSION "SKIPPED:"
                       RUN_SERIAL TRUE ENVIRONMENT "VELMARSH_TESTDATA=${VELMARSH_TESTDATA}")
  if(T_HTTP)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED hostsim_http)
  endif()
endfunction()
