# The portable core: one static library per folder, from the bottom
# files <- pgn <- ratings <- players <- tagrules, each linking the one below
# (the include check keeps the same order). velmarsh_core is all of it.
# No Win32 in these folders: replacing a file in one step is the one call the
# platform provides, a Win32 call on Windows kept in base/ and compiled into
# the files library, so that every program linking the core has it.
set(velmarsh_core_folders files pgn ratings players tagrules)
# A large list is read on two threads (ratings/listlines.cpp).
find_package(Threads REQUIRED)

function(velmarsh_core_library folder below)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  if(WIN32 AND folder STREQUAL "files")
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/files/replacefile.cpp)
    list(APPEND sources ${CMAKE_SOURCE_DIR}/base/replacefile_win32.cpp)
  endif()
  add_library(velmarsh_${folder} STATIC ${sources})
  target_include_directories(velmarsh_${folder} PUBLIC ${CMAKE_SOURCE_DIR})
  # Every library waits for the include check (cmake/Layers.cmake).
  add_dependencies(velmarsh_${folder} velmarsh_layers)
  if(below)
    target_link_libraries(velmarsh_${folder} PUBLIC velmarsh_${below})
  else()
    target_link_libraries(velmarsh_${folder} PUBLIC Threads::Threads)
  endif()
  # Natively, a sanitized twin serves the unit tests and fuzzers; the plain
  # library serves the tools and benchmarks at full speed.
  if(NOT WIN32)
    add_library(velmarsh_${folder}_san STATIC ${sources})
    target_include_directories(velmarsh_${folder}_san PUBLIC ${CMAKE_SOURCE_DIR})
    add_dependencies(velmarsh_${folder}_san velmarsh_layers)
    if(below)
      target_link_libraries(velmarsh_${folder}_san PUBLIC velmarsh_${below}_san)
    else()
      target_link_libraries(velmarsh_${folder}_san PUBLIC Threads::Threads)
    endif()
    if(VELMARSH_SANITIZE)
      target_compile_options(velmarsh_${folder}_san PUBLIC ${VELMARSH_SANITIZER_FLAGS})
      target_link_options(velmarsh_${folder}_san PUBLIC ${VELMARSH_SANITIZER_FLAGS})
    endif()
  endif()
endfunction()

set(below "")
foreach(folder IN LISTS velmarsh_core_folders)
  velmarsh_core_library(${folder} "${below}")
  set(below ${folder})
endforeach()

add_library(velmarsh_core INTERFACE)
target_link_libraries(velmarsh_core INTERFACE velmarsh_tagrules)
if(NOT WIN32)
  add_library(velmarsh_core_san INTERFACE)
  target_link_libraries(velmarsh_core_san INTERFACE velmarsh_tagrules_san)
endif()
