# Helpers shared by the subsystem folders.
#
# signovat_core_library(NAME sources... DEPENDS libs...)
#   A widget-free library: it links Qt Core, Gui and SerialPort only, so a
#   Widgets header cannot even be found while it compiles.
# signovat_ui_library(NAME sources... DEPENDS libs...)
#   A library of windows and dialogs on top of the core libraries.
function(signovat_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui Qt6::SerialPort ${ARG_DEPENDS})
endfunction()

# signovat_core_headers(NAME SOURCES headers... DEPENDS libs...)
#   A widget-free library of headers only.
function(signovat_core_headers name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} INTERFACE ${ARG_SOURCES})
  target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
endfunction()

function(signovat_ui_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC Qt6::Widgets Qt6::PrintSupport ${ARG_DEPENDS})
endfunction()
