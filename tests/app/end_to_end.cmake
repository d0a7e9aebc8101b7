# The window against the sample site, both real.
if(TARGET brenvik-sample-site)
  brenvik_add_qttest(end_to_end_test SOURCES end_to_end_test.cpp LIBS brenvik::app brenvik::test_support)
  target_compile_definitions(end_to_end_test PRIVATE BRENVIK_SAMPLE_SITE="$<TARGET_FILE:brenvik-sample-site>")
  add_dependencies(end_to_end_test brenvik-sample-site)
endif()

# The window while queries run, against the sample site with latency.
if(TARGET brenvik-sample-site)
  brenvik_add_qttest(window_async_test SOURCES window_async_test.cpp LIBS brenvik::app brenvik::test_support LABELS threads)
  target_compile_definitions(window_async_test PRIVATE BRENVIK_SAMPLE_SITE="$<TARGET_FILE:brenvik-sample-site>")
  add_dependencies(window_async_test brenvik-sample-site)
endif()

# A thousand queries through the real window: captions, memory and file descriptors.
if(TARGET brenvik-sample-site)
  brenvik_add_qttest(window_soak_test SOURCES window_soak_test.cpp LIBS brenvik::app brenvik::test_support)
  target_compile_definitions(window_soak_test PRIVATE BRENVIK_SAMPLE_SITE="$<TARGET_FILE:brenvik-sample-site>")
  add_dependencies(window_soak_test brenvik-sample-site)
endif()
