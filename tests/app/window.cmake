# The window's tests; the created event is tried against a loopback server.
if(NOT TARGET PkgConfig::CPP_HTTPLIB)
  pkg_check_modules(CPP_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
endif()
brenvik_add_qttest(window_tests
  SOURCES window_test.cpp
  LIBS brenvik::app brenvik::test_support PkgConfig::CPP_HTTPLIB)

# The window's fonts against the fontconfig file that ships with the program.
brenvik_add_qttest(fonts_test SOURCES fonts_test.cpp LIBS brenvik::app)
target_compile_definitions(fonts_test PRIVATE BRENVIK_FONTS_CONF="${PROJECT_SOURCE_DIR}/app/fonts/brenvik-fonts.conf")
