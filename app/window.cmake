# The window, its controls, the themed look and the labels; the program is main.cpp alone.
add_library(brenvik_app STATIC
  fonts.cpp
  fonts.h
  gbk_qstring.cpp
  gbk_qstring.h
  label.cpp
  label.h
  main_window.cpp
  main_window.h
  query_runner.cpp
  query_runner.h
  theme.cpp
  theme.h)
add_library(brenvik::app ALIAS brenvik_app)
set_target_properties(brenvik_app PROPERTIES AUTOMOC ON)
target_include_directories(brenvik_app PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(brenvik_app
  PUBLIC Qt6::Widgets brenvik::picturebox brenvik::pictures brenvik::lookup brenvik::net brenvik::text
  PRIVATE brenvik_warnings)

add_executable(brenvik main.cpp)
target_link_libraries(brenvik PRIVATE brenvik_app brenvik::sample_site brenvik_warnings)
target_compile_definitions(brenvik PRIVATE BRENVIK_VERSION="${PROJECT_VERSION}")

# The font aliases travel with the program: beside it in the build tree, in share/ installed.
configure_file(fonts/brenvik-fonts.conf ${CMAKE_CURRENT_BINARY_DIR}/fonts/brenvik-fonts.conf COPYONLY)
include(GNUInstallDirs)
install(TARGETS brenvik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES fonts/brenvik-fonts.conf DESTINATION ${CMAKE_INSTALL_DATADIR}/brenvik)
