# The layers of the program, lowest first, and what each may include: a
# folder includes its own headers and those of the folders listed for it,
# never one above it. Run at every build (target vortal_layers); a wrong
# include fails the build with the file and the line.
#
#   cmake -DROOT=<source dir> -P cmake/check_layers.cmake
cmake_minimum_required(VERSION 3.20)
set(_layers files texts settings device assign setup macro edit ui/host ui/skin ui/dialogs ui/window
            platform app tools)
set(_ui ui/host ui/skin ui/dialogs ui/window)
set(_allowed_files       files)
set(_allowed_texts       texts)
set(_allowed_settings    settings files)
set(_allowed_device      device settings files)
set(_allowed_assign      assign settings texts files)
set(_allowed_setup       setup assign settings texts files)
set(_allowed_macro       macro setup assign settings texts files)
set(_allowed_edit        edit macro setup assign device settings texts files)
set(_allowed_ui/host     ui/host macro device settings files)
set(_allowed_ui/skin     ui/skin ui/host settings files)
set(_allowed_ui/dialogs  ui/dialogs ui/skin ui/host edit macro setup assign settings texts files)
set(_allowed_ui/window   ${_ui} edit macro setup assign device settings texts files)
set(_allowed_platform    platform device settings files)
set(_allowed_app         app platform ${_ui} edit macro setup assign device settings texts files)
set(_allowed_tools       tools platform edit macro setup assign device settings texts files)

set(_faults "")
foreach(_layer IN LISTS _layers)
  file(GLOB _files ${ROOT}/${_layer}/*.h ${ROOT}/${_layer}/*.cpp)
  foreach(_file IN LISTS _files)
    file(STRINGS ${_file} _includes REGEX "^#include \"[a-z_/]+/[^/\"]+\"")
    foreach(_line IN LISTS _includes)
      string(REGEX REPLACE "^#include \"([a-z_/]+)/[^/\"]+\".*" "\\1" _used "${_line}")
      if(NOT _used IN_LIST _allowed_${_layer})
        file(RELATIVE_PATH _name ${ROOT} ${_file})
        string(REPLACE ";" ", " _may "${_allowed_${_layer}}")
        string(APPEND _faults "  ${_name}: ${_line} (${_layer}/ may use only ${_may})\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(_faults)
  message(FATAL_ERROR "Includes against the layering:\n${_faults}")
endif()
