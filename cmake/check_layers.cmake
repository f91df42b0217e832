# Fails when a source includes a header of a higher layer. The layers, from
# the bottom: database <- base <- lumora (the host contract) <- host <-
# windows <- tagging <- plugin; a folder may include its own layer and those
# below it. The stand-in host and the tools know only database, base and
# lumora. Run as: cmake -DROOT=<source dir> -P check_layers.cmake
set(layers database base lumora host windows tagging plugin)
set(failures "")
foreach(folder IN LISTS layers ITEMS hostsim tools)
  list(FIND layers ${folder} rank)
  if(rank LESS 0)
    set(rank 2)  # hostsim, tools: up to the contract
  endif()
  file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${ROOT}/${source} includes REGEX "^#include \"[a-z]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${line}")
      list(FIND layers ${target} targetRank)
      if(targetRank GREATER rank)
        string(APPEND failures "  ${source}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "includes against the layers:\n${failures}")
endif()
