# The pictures the program carries: the committed files in assets/ (drawn by
# tools/assets/make_pictures.cpp) become byte arrays compiled into this Qt-free library.
set(brenvik_embedded_pictures
  "NotFoundPicture not_found.jpg"
  "LinkIcon link.ico"
  "ProgramIcon program.ico")
set(brenvik_embedded_sources)
foreach(entry IN LISTS brenvik_embedded_pictures)
  separate_arguments(entry)
  list(GET entry 0 name)
  list(GET entry 1 file)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/embedded/${name}.cpp)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_CURRENT_SOURCE_DIR}/assets/${file} -DOUTPUT=${output} -DNAME=k${name}
            -P ${PROJECT_SOURCE_DIR}/tools/assets/embed_file.cmake
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/assets/${file} ${PROJECT_SOURCE_DIR}/tools/assets/embed_file.cmake
    COMMENT "Embedding assets/${file}"
    VERBATIM)
  list(APPEND brenvik_embedded_sources ${output})
endforeach()

add_library(brenvik_pictures STATIC pictures.cpp ${brenvik_embedded_sources})
add_library(brenvik::pictures ALIAS brenvik_pictures)
target_include_directories(brenvik_pictures PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(brenvik_pictures PUBLIC brenvik::text PRIVATE brenvik_warnings)
