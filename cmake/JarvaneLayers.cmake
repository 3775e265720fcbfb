# The program is built in layers, each one target that links only the layers
# below it. Every file includes from the source root, so a header of any layer
# could be reached: before each layer's target is built, its files' #include
# "..." lines are checked (cmake/check_layer_includes.cmake) and an include of
# a higher layer's file fails the build, naming the file, the line and the
# include. The check runs again only when a file of the layer or the layer's
# file list changed.
#
# jarvane_layer(<layer> <target> FILES <name>... [EXCEPT <name>...] [BELOW <layer>])
# adds the layer's sources and headers to <target> and the check before it. A
# name stands for its .h and .cpp files: "app/*" is every .h and .cpp directly
# in app/, "inventory/cookie_inventory" one header and its source. BELOW names
# the layer under this one: its files and those it may include may be included.
# Per-OS files end in _posix.cpp or _win.cpp; both are checked, the one of the
# platform being built is compiled.
set(JARVANE_LAYER_CHECK ${CMAKE_CURRENT_LIST_DIR}/check_layer_includes.cmake)
set(JARVANE_LAYER_MAP ${CMAKE_BINARY_DIR}/layers)

function(jarvane_layer_files out)
  set(files)
  foreach(name IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
         ${CMAKE_CURRENT_SOURCE_DIR}/${name}.h ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

function(jarvane_layer layer target)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "BELOW" "FILES;EXCEPT")
  jarvane_layer_files(files ${arg_FILES})
  jarvane_layer_files(except ${arg_EXCEPT})
  if(except)
    list(REMOVE_ITEM files ${except})
  endif()
  list(SORT files)
  set(allowed ${layer})
  if(arg_BELOW)
    get_property(below GLOBAL PROPERTY JARVANE_LAYER_ALLOWED_${arg_BELOW})
    list(APPEND allowed ${below})
  endif()
  set_property(GLOBAL PROPERTY JARVANE_LAYER_ALLOWED_${layer} ${allowed})

  set(sources ${files})
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
  endif()
  target_sources(${target} PRIVATE ${sources})

  # Written only when it changes, so that the check is not run again for nothing.
  file(GENERATE OUTPUT ${JARVANE_LAYER_MAP}/${layer}.cmake CONTENT
       "set(JARVANE_LAYER_FILES_${layer} \"${files}\")\nset(JARVANE_LAYER_ALLOWED_${layer} \"${allowed}\")\n")
  list(TRANSFORM files PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE paths)
  set(stamp ${JARVANE_LAYER_MAP}/${layer}.checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_CURRENT_SOURCE_DIR} -DMAP=${JARVANE_LAYER_MAP}
            -DLAYER=${layer} -P ${JARVANE_LAYER_CHECK}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${paths} ${JARVANE_LAYER_MAP}/${layer}.cmake ${JARVANE_LAYER_CHECK}
    COMMENT "Checking the includes of the ${layer} layer"
    VERBATIM)
  add_custom_target(${target}_includes DEPENDS ${stamp})
  add_dependencies(${target} ${target}_includes)
endfunction()
