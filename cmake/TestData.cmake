# Tests that read the real test data (VELMARSH_TESTDATA) report Skipped
# through ctest when it is absent, never Passed.
#
#   velmarsh_add_gtest(NAME TARGET SOURCES...)
#
# Registers a GoogleTest program. When its sources read the real test data,
# the cases named *Real* become a test of their own, NAME_real, run through
# run_with_testdata.cmake, which prints "SKIPPED:" when the data's fide/ or
# pgn/ folder is absent; NAME runs the other cases (and is left out when there are none).
# Sets VELMARSH_GTESTS in the caller to the tests added.
function(velmarsh_add_gtest name target)
  set(reads_data FALSE)
  set(other_cases FALSE)
  foreach(src ${ARGN})
    file(READ ${src} text)
    if(text MATCHES "VELMARSH_TESTDATA")
      set(reads_data TRUE)
    endif()
    file(STRINGS ${src} cases REGEX "^TEST(_F|_P)?\\(")
    foreach(c ${cases})
      if(NOT c MATCHES "Real")
        set(other_cases TRUE)
      endif()
    endforeach()
  endforeach()
  if(NOT reads_data)
    add_test(NAME ${name} COMMAND ${target})
    set(VELMARSH_GTESTS ${name} PARENT_SCOPE)
    return()
  endif()
  set(tests ${name}_real)
  if(other_cases)
    add_test(NAME ${name} COMMAND ${target} --gtest_filter=-*Real*)
    list(APPEND tests ${name})
  endif()
  add_velmarsh_data_test(${name}_real "${VELMARSH_TESTDATA}/fide|${VELMARSH_TESTDATA}/pgn"
                         $<TARGET_FILE:${target}> --gtest_filter=*Real*)
  set(VELMARSH_GTESTS ${tests} PARENT_SCOPE)
endfunction()

# add_velmarsh_data_test(NAME NEEDS COMMAND...): a test that runs COMMAND
# (through the cross-compiling emulator for a Windows build) when every path
# of NEEDS (separated by "|") exists, and is reported Skipped otherwise.
function(add_velmarsh_data_test name needs)
  list(JOIN ARGN "|" command)
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -DNEEDS=${needs} "-DRUNNER=${CMAKE_CROSSCOMPILING_EMULATOR}"
                   "-DCOMMAND=${command}" -P ${CMAKE_SOURCE_DIR}/cmake/run_with_testdata.cmake)
  set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED:")
endfunction()
