# Files the program carries in itself, as the exact bytes of the files.
#
# Included from CMake, this file defines
#   brenvik_embed_files(<target> <Name> <file> [<Name> <file>...])
# which adds to <target> one generated source per file, defining
# brenvik::detail::k<Name>Data (the bytes) and brenvik::detail::k<Name>Size; the files are
# paths relative to the calling folder. Run as a script, it writes one such source:
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DNAME=<symbol> -P EmbedFile.cmake
# and rewrites OUTPUT only when its contents change, so nothing rebuilds without need.

if(NOT CMAKE_SCRIPT_MODE_FILE)
  set(BRENVIK_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

  function(brenvik_embed_files target)
    set(entries ${ARGN})
    list(LENGTH entries count)
    math(EXPR odd "${count} % 2")
    if(count EQUAL 0 OR odd)
      message(FATAL_ERROR "brenvik_embed_files(${target} ...) wants pairs of <Name> <file>")
    endif()
    math(EXPR last "${count} - 1")
    foreach(i RANGE 0 ${last} 2)
      math(EXPR j "${i} + 1")
      list(GET entries ${i} name)
      list(GET entries ${j} file)
      set(input ${CMAKE_CURRENT_SOURCE_DIR}/${file})
      set(output ${CMAKE_CURRENT_BINARY_DIR}/embedded/${name}.cpp)
      add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DNAME=k${name}
                -P ${BRENVIK_EMBED_SCRIPT}
        DEPENDS ${input} ${BRENVIK_EMBED_SCRIPT}
        COMMENT "Embedding ${file}"
        VERBATIM)
      target_sources(${target} PRIVATE ${output})
    endforeach()
  endfunction()
  return()
endif()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Lines of 32 bytes, for the sake of compilers and editors.
string(REPEAT "0x..," 32 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
get_filename_component(inputName "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp" "// Generated at build time from ${inputName}; do not edit.
#include <cstddef>

namespace brenvik::detail {

extern const unsigned char ${NAME}Data[];
extern const std::size_t ${NAME}Size;

const unsigned char ${NAME}Data[] = {
${bytes}
};
const std::size_t ${NAME}Size = ${size};

}  // namespace brenvik::detail
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
