if(TARGET brenvik_picturebox)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  brenvik_add_qttest(picture_box_test
    SOURCES picture_box_test.cpp picture_fixtures.cpp picture_fixtures.h
    LIBS brenvik::picturebox brenvik::pictures brenvik::lookup brenvik::jpeg_writer Qt6::Widgets)
endif()
