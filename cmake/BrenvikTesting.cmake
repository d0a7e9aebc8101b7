include(GoogleTest)

# The fontconfig file the program and the tests use: our font aliases on top of the system's.
set(BRENVIK_FONTCONFIG_FILE "${PROJECT_SOURCE_DIR}/app/fonts/brenvik-fonts.conf")

# brenvik_add_gtest(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# One GoogleTest executable, its cases registered with CTest one by one, run on Qt's
# offscreen platform. (A list value cannot pass through gtest_discover_tests' PROPERTIES, so
# these suites, which draw no text, get no fontconfig file.) The label "threads" marks the suites of the
# threaded code, which CI runs again under ThreadSanitizer.
function(brenvik_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main brenvik_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # Properties pass through as one flat list of names and values: an empty label list would
  # shift every pair after it, so LABELS goes in only when there are labels.
  set(properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ${properties})
endfunction()

# brenvik_add_qttest(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# One Qt Test executable registered as one CTest test, offscreen, with our fontconfig file.
function(brenvik_add_qttest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test brenvik_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;FONTCONFIG_FILE=${BRENVIK_FONTCONFIG_FILE}"
    LABELS "${ARG_LABELS}")
endfunction()
