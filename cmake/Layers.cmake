# The include check of cmake/check_layers.cmake runs in every build of both
# configurations, before the libraries compile: an include against the layers
# fails the build. It runs again when a source of the checked folders changes
# (the stamp depends on them) or a file is added (the glob is rechecked). The
# test "layers" runs the same check.
set(velmarsh_layer_folders files pgn ratings players tagrules base lumora host windows tagging plugin hostsim tools tests
    bench fuzz)
set(velmarsh_layer_globs "")
foreach(folder IN LISTS velmarsh_layer_folders)
  list(APPEND velmarsh_layer_globs ${CMAKE_SOURCE_DIR}/${folder}/*.h
       ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
endforeach()
file(GLOB_RECURSE velmarsh_layer_sources CONFIGURE_DEPENDS ${velmarsh_layer_globs})

set(velmarsh_layers_stamp ${CMAKE_BINARY_DIR}/layers.stamp)
add_custom_command(
    OUTPUT ${velmarsh_layers_stamp}
    COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${velmarsh_layers_stamp}
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake ${velmarsh_layer_sources}
    COMMENT "Checking the includes against the layers"
    VERBATIM)
add_custom_target(velmarsh_layers ALL DEPENDS ${velmarsh_layers_stamp})

add_test(NAME layers COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR}
                             -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake)
# And it fails on a planted include of every kind it refuses.
add_test(NAME layers_planted COMMAND ${CMAKE_COMMAND} -DWORK=${CMAKE_BINARY_DIR}/layers-planted
                                     -P ${CMAKE_SOURCE_DIR}/cmake/check_layers_planted.cmake)
