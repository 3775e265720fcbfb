# The wxWidgets layer: windows and dialogs over the core library.
# net: the local channel on which a second start asks the first window to the front.
find_package(wxWidgets 3.2 REQUIRED COMPONENTS core base html adv net)
include(${wxWidgets_USE_FILE})

# Desktop event sounds: wxSound on Debian plays only through OSS, which current
# desktops lack, so sounds go through libcanberra where it is available.
find_package(PkgConfig)
if(PKG_CONFIG_FOUND AND NOT WIN32)
  pkg_check_modules(CANBERRA IMPORTED_TARGET libcanberra)
endif()

# The windows and dialogs (ui/), their artwork (res/) and the program's start-up
# (app/gui/); the program itself is its main function.
add_library(jarvane_gui STATIC)
jarvane_layer(gui jarvane_gui FILES ui/* res/* app/gui/* EXCEPT app/gui/main BELOW presentation)
target_link_libraries(jarvane_gui PUBLIC jarvane_presentation ${wxWidgets_LIBRARIES})
target_include_directories(jarvane_gui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/res)
# dlsym: GTK's own dialogs are ended through GTK when the program is asked to end.
target_link_libraries(jarvane_gui PUBLIC ${CMAKE_DL_LIBS})
if(CANBERRA_FOUND)
  target_link_libraries(jarvane_gui PUBLIC PkgConfig::CANBERRA)
  target_compile_definitions(jarvane_gui PUBLIC JARVANE_HAVE_CANBERRA=1)
endif()

add_executable(jarvane WIN32)
jarvane_layer(program jarvane FILES app/gui/main BELOW gui)
target_link_libraries(jarvane PRIVATE jarvane_gui)

# The window's side of the benchmark program: needs a display.
if(JARVANE_BUILD_BENCH)
  jarvane_collect(GUI_BENCH_SOURCES bench/gui/*.cpp)
  add_executable(jarvane_gui_bench ${GUI_BENCH_SOURCES})
  target_link_libraries(jarvane_gui_bench PRIVATE jarvane_gui)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/JarvaneInstall.cmake)
