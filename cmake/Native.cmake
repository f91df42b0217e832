# Native (Linux) configuration: the portable core, its tools, tests, fuzzers
# and benchmarks.
option(VELMARSH_SANITIZE "Build the core and its tests with ASan and UBSan" ON)

find_package(GTest REQUIRED)
find_package(benchmark QUIET)

set(VELMARSH_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)

include(cmake/Core.cmake)

foreach(dir tools tests/native tests/hostsim bench fuzz)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()
