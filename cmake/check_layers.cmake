# Fails when a source includes a header of a higher layer. The layers, from
# the bottom: database <- base <- lumora (the host contract) <- host <-
# windows <- tagging <- plugin; a folder may include its own layer and those
# below it. The stand-in host, the tools and the fake host of the Win32 tests
# know only database, base and lumora (and the stand-in host's pieces). The
# portable core, database/, includes no Windows header.
# Run as: cmake -DROOT=<source dir> -P check_layers.cmake
set(layers database base lumora host windows tagging plugin)
set(failures "")

function(check_sources rank)
  foreach(source IN LISTS ARGN)
    file(STRINGS ${ROOT}/${source} includes REGEX "^#include \"[a-z]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${line}")
      list(FIND layers ${target} targetRank)
      if(targetRank GREATER rank)
        string(APPEND failures "  ${source}: ${line}\n")
      endif()
    endforeach()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

foreach(folder IN LISTS layers ITEMS hostsim tools)
  list(FIND layers ${folder} rank)
  if(rank LESS 0)
    set(rank 2)  # hostsim, tools: up to the contract
  endif()
  file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  check_sources(${rank} ${sources})
endforeach()
file(GLOB fakehost RELATIVE ${ROOT} ${ROOT}/tests/win32/fakehost.*)
check_sources(2 ${fakehost})

file(GLOB_RECURSE core RELATIVE ${ROOT} ${ROOT}/database/*.h ${ROOT}/database/*.cpp)
foreach(source IN LISTS core)
  file(STRINGS ${ROOT}/${source} includes REGEX "^#include <windows.h>")
  foreach(line IN LISTS includes)
    string(APPEND failures "  ${source}: ${line} (the portable core)\n")
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "includes against the layers:\n${failures}")
endif()
