# Fails when a source includes against the layers. The layers, from the
# bottom: the portable core's folders files <- pgn <- ratings <- players <-
# tagrules, then base <- lumora (the host contract) <- host <- windows <-
# tagging <- plugin; a folder may include its own layer and those below it,
# and nothing outside the layers. Beside them, the stand-in host
# (hostsim) knows the layers up to the contract and itself; the tools know
# the same, themselves and the host side of hostsim (the fake host). Every
# project include names its folder ("host/paths.h", never "paths.h"), in
# the tests, benchmarks and fuzzers too. The portable core includes no
# Windows header.
# Run as: cmake -DROOT=<source dir> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)
set(core files pgn ratings players tagrules)
set(layers ${core} base lumora host windows tagging plugin)
list(FIND layers lumora contract_rank)
set(beside_hostsim hostsim)
set(beside_tools tools hostsim)
set(failures "")

# Checks the project includes of these sources: rank is the highest layer
# they may include (-1: any), beside the other folders they may include.
function(check_sources rank beside)
  foreach(source IN LISTS ARGN)
    file(STRINGS ${ROOT}/${source} includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]*)\".*" "\\1" path "${line}")
      if(NOT path MATCHES "/")
        string(APPEND failures "  ${source}: ${line} (name the header's folder)\n")
        continue()
      endif()
      if(rank LESS 0)
        continue()
      endif()
      string(REGEX REPLACE "/.*" "" target "${path}")
      list(FIND layers ${target} targetRank)
      if(targetRank GREATER rank)
        string(APPEND failures "  ${source}: ${line} (a higher layer)\n")
      elseif(targetRank LESS 0 AND NOT target IN_LIST beside)
        string(APPEND failures "  ${source}: ${line} (outside the layers)\n")
      endif()
    endforeach()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

function(sources_of folder out)
  file(GLOB_RECURSE found RELATIVE ${ROOT} ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(rank 0)
foreach(folder IN LISTS layers)
  sources_of(${folder} sources)
  check_sources(${rank} "" ${sources})
  math(EXPR rank "${rank} + 1")
endforeach()
foreach(folder hostsim tools)
  sources_of(${folder} sources)
  check_sources(${contract_rank} "${beside_${folder}}" ${sources})
endforeach()
foreach(folder tests bench fuzz)
  sources_of(${folder} sources)
  check_sources(-1 "" ${sources})
endforeach()

foreach(folder IN LISTS core)
  sources_of(${folder} sources)
  list(APPEND core_sources ${sources})
endforeach()
foreach(source IN LISTS core_sources)
  file(STRINGS ${ROOT}/${source} includes REGEX "^#include <windows.h>")
  foreach(line IN LISTS includes)
    string(APPEND failures "  ${source}: ${line} (the portable core)\n")
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "includes against the layers:\n${failures}")
endif()
