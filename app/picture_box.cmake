# The picture-box widget and its decoders. The format rules and the PCX decoder are Qt-free
# so that fuzzers can reach them without a widget.
add_library(brenvik_picturebox STATIC
  picture_box.cpp
  picture_box.h
  picture_format.cpp
  jpeg_decoder.cpp
  pcx_decoder.cpp)
add_library(brenvik::picturebox ALIAS brenvik_picturebox)
set_target_properties(brenvik_picturebox PROPERTIES AUTOMOC ON)
target_include_directories(brenvik_picturebox PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(brenvik_picturebox
  PUBLIC Qt6::Widgets brenvik::pictures brenvik::text
  PRIVATE JPEG::JPEG brenvik_warnings)
