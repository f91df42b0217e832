# Fails when the DLL imports anything but Windows' own DLLs: the MinGW
# runtime (libgcc, libstdc++, libwinpthread) must be linked in statically.
#   -DOBJDUMP=i686-w64-mingw32-objdump -DDLL=Velmarsh.dll
cmake_policy(SET CMP0057 NEW)  # if(IN_LIST) in script mode
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
set(system kernel32 user32 gdi32 comctl32 comdlg32 shell32 ole32 oleaut32 msvcrt advapi32
    wininet shlwapi uxtheme version)
set(imports "")
foreach(line ${lines})
  string(REPLACE "DLL Name: " "" name "${line}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" lower)
  string(REGEX REPLACE "\\.dll$" "" base "${lower}")
  if(base MATCHES "^(libgcc|libstdc\\+\\+|libwinpthread)")
    message(FATAL_ERROR "${DLL} needs the MinGW runtime DLL ${name}")
  endif()
  if(NOT base IN_LIST system AND NOT base MATCHES "^api-ms-win-")
    message(FATAL_ERROR "${DLL} imports ${name}, which is not a Windows DLL")
  endif()
  list(APPEND imports ${name})
endforeach()
if(NOT imports)
  message(FATAL_ERROR "no import table found in ${DLL}")
endif()
message(STATUS "imports: ${imports}")
