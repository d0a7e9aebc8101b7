# The window's tests; the created event is tried against a loopback server.
if(NOT TARGET PkgConfig::CPP_HTTPLIB)
  pkg_check_modules(CPP_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
endif()
brenvik_add_qttest(window_tests
  SOURCES window_test.cpp
  LIBS brenvik::app brenvik::test_support PkgConfig::CPP_HTTPLIB)
