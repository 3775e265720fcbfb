# The include check of the layers (cmake/check_layer_includes.cmake) on a
# scratch copy of the layers' files: the copy as it is passes; includes that run
# up a layer, added to a core file and to a platform file that this platform
# does not compile, fail it, each named with its file, line and header.
#   cmake -DROOT=<source folder> -DMAP=<build folder>/layers -DSCRATCH=<folder> -P this file
file(REMOVE_RECURSE ${SCRATCH})
file(GLOB lists ${MAP}/*.cmake)
foreach(list IN LISTS lists)
  include(${list})
  get_filename_component(layer ${list} NAME_WE)
  list(APPEND layers ${layer})
  foreach(file IN LISTS JARVANE_LAYER_FILES_${layer})
    configure_file(${ROOT}/${file} ${SCRATCH}/${file} COPYONLY)
  endforeach()
endforeach()

function(check layer result_var output_var)
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${SCRATCH} -DMAP=${MAP} -DLAYER=${layer}
                          -P ${ROOT}/cmake/check_layer_includes.cmake
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${result_var} ${result} PARENT_SCOPE)
  set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

foreach(layer IN LISTS layers)
  check(${layer} result output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "The ${layer} layer as it is fails the check:\n${output}")
  endif()
endforeach()

function(prepend file text)
  file(READ ${SCRATCH}/${file} original)
  file(WRITE ${SCRATCH}/${file} "${text}${original}")
endfunction()
prepend(inventory/stores/netscape/netscape_store.cpp
        "// two lines\n// before\n#include \"inventory/cookie_list_model.h\"\n")
prepend(platform/safe_file_win.cpp "# include \"../locations/location_file.h\"\n")

function(expect_failure layer line)
  check(${layer} result output)
  string(FIND "${output}" "${line}" found)
  if(result EQUAL 0 OR found EQUAL -1)
    message(FATAL_ERROR "Expected the ${layer} layer to fail with\n${line}\nbut it gave ${result}:\n${output}")
  endif()
endfunction()
expect_failure(core "${SCRATCH}/inventory/stores/netscape/netscape_store.cpp:3: error: \"inventory/cookie_list_model.h\" is a header of the presentation layer: the core layer may include only core, platform")
expect_failure(platform "${SCRATCH}/platform/safe_file_win.cpp:1: error: \"../locations/location_file.h\" is a header of the core layer: the platform layer may include only platform")
