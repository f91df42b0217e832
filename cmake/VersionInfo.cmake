# velmarsh_version_resource(TARGET DESCRIPTION): a VERSIONINFO resource for
# a Windows program or DLL, from the version in project() (ProductName,
# FileVersion, FileDescription, LegalCopyright).
enable_language(RC)

function(velmarsh_version_resource target description)
  get_target_property(type ${target} TYPE)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  if(type STREQUAL "SHARED_LIBRARY")
    set(VI_FILETYPE VFT_DLL)
    set(VI_FILENAME ${name}.dll)
  else()
    set(VI_FILETYPE VFT_APP)
    set(VI_FILENAME ${name}.exe)
  endif()
  set(VI_NAME ${name})
  set(VI_DESCRIPTION "${description}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/versioninfo.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
