# The two icons the window carries: the committed files in assets/ (drawn by
# tools/assets/make_pictures.cpp) become byte arrays compiled into this Qt-free library.
add_library(brenvik_pictures STATIC pictures.h)
add_library(brenvik::pictures ALIAS brenvik_pictures)
brenvik_embed_files(brenvik_pictures
  LinkIcon assets/link.ico
  ProgramIcon assets/program.ico)
target_include_directories(brenvik_pictures PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(brenvik_pictures PUBLIC brenvik::text PRIVATE brenvik_warnings)
