add_library(brenvik_pictures STATIC pictures.cpp)
add_library(brenvik::pictures ALIAS brenvik_pictures)
target_include_directories(brenvik_pictures PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(brenvik_pictures PUBLIC brenvik::text PRIVATE brenvik_warnings)
