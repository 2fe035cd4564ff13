# Builds a delay-load import library for a system DLL from mingw-w64's own
# import library: the DLL is then loaded on first use, after the program has
# restricted library loading to the system folder, instead of at start-up
# from the search path that begins with the program's own folder.
#   cmake -DNM=... -DDLLTOOL=... -DIMPORT_LIB=... -DDLL=... -DOUT=... -P delay_import.cmake
execute_process(COMMAND ${NM} --defined-only ${IMPORT_LIB} OUTPUT_VARIABLE symbols
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot read ${IMPORT_LIB}")
endif()
string(REGEX MATCHALL "[^\n]* T [A-Za-z_][A-Za-z0-9_@]*" lines "${symbols}")
set(def "LIBRARY ${DLL}\nEXPORTS\n")
foreach(line IN LISTS lines)
  string(REGEX REPLACE ".* T " "" name "${line}")
  if(NOT name MATCHES "^__imp_" AND NOT name MATCHES "^_head_" AND NOT name MATCHES "_iname$")
    string(APPEND def "  ${name}\n")
  endif()
endforeach()
file(WRITE ${OUT}.def "${def}")
execute_process(COMMAND ${DLLTOOL} --input-def ${OUT}.def --output-delaylib ${OUT} --dllname ${DLL}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dlltool failed for ${DLL}")
endif()
