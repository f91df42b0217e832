# Win32 configuration (MinGW-w64, i686): the plug-in, the stand-in host, the
# Windows tools and the tests, which ctest runs under Wine.
find_program(WINE_EXECUTABLE wine REQUIRED)
find_program(MINGW_OBJDUMP i686-w64-mingw32-objdump REQUIRED)

# Every Windows program runs through wine-run, which brings the project's own
# Wine prefix (created on first use) and a quiet environment.
set(VELMARSH_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

include(cmake/Core.cmake)

# The plug-in's code: one static library per layer, each listing its
# sources and linking only the layers below it (the core <- base <- lumora <-
# host <- windows <- tagging <- plugin), so that a call against the grain does
# not link; the test "layers" checks the includes. base/ and lumora/ hold
# headers only. The DLL links all of it, the Win32 tests link it directly and
# play the host themselves.
add_library(velmarsh_host STATIC
    host/hostmessage.cpp host/hostservices.cpp host/paths.cpp host/plugindatabase.cpp host/settings.cpp
    host/starthandles.cpp)
target_include_directories(velmarsh_host PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(velmarsh_host PUBLIC velmarsh_core
                      user32 gdi32 comctl32 comdlg32 shell32 ole32 oleaut32)

add_library(velmarsh_windows STATIC
    windows/importcmd.cpp windows/optionsdialog.cpp windows/optionsdialog_layout.cpp
    windows/optionsdialog_paint.cpp windows/searchwindow.cpp windows/searchwindow_paint.cpp
    windows/statuswindow.cpp windows/windowhelpers.cpp)
target_link_libraries(velmarsh_windows PUBLIC velmarsh_host)

add_library(velmarsh_tagging STATIC
    tagging/addinfo.cpp tagging/askplayer.cpp tagging/batch.cpp tagging/gamessite.cpp tagging/gametags.cpp
    tagging/namelist.cpp)
target_link_libraries(velmarsh_tagging PUBLIC velmarsh_windows)

add_library(velmarsh_plugin STATIC plugin/menus.cpp plugin/velmarsh.cpp)
target_link_libraries(velmarsh_plugin PUBLIC velmarsh_tagging)

add_library(Velmarsh SHARED ${CMAKE_SOURCE_DIR}/plugin/Velmarsh.def)
set_target_properties(Velmarsh PROPERTIES PREFIX "" OUTPUT_NAME Velmarsh
                      LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/plugins
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/plugins
                      LINKER_LANGUAGE CXX)
target_link_libraries(Velmarsh PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,velmarsh_plugin>")
include(cmake/VersionInfo.cmake)
velmarsh_version_resource(Velmarsh "Velmarsh: FIDE player information for Lumora")

include(cmake/LumoraScriptTest.cmake)

# GoogleTest from Debian's source package, built with the same toolchain.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

foreach(dir hostsim tools tests/win32 tests/hostsim tests/e2e/current)  # hostsim first: the others use its libraries
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()
add_subdirectory(tests/e2e/batch)  # end to end: batch run, games site, Options, import
add_subdirectory(tests/e2e/players_tag)  # players tag against the plug-in's batch run
add_subdirectory(tests/package)  # the release package (scripts/package.sh)
