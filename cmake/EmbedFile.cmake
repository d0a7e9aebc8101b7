# Files the program carries in itself, as the exact bytes of the files.
#
# Included from CMake, this file defines
#   brenvik_embed_files(<target> <Name> <file> [<Name> <file>...])
# which adds to <target> one generated source per file, defining the function
#   const brenvik::Bytes& brenvik::<Name>();
# that returns the file's bytes (a header of the target declares it; the target links
# brenvik::text). The files are paths relative to the calling folder. Run as a script, it
# writes one such source:
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DNAME=<Name> -P EmbedFile.cmake
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
        COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DNAME=${name}
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
if(size EQUAL 0)
  message(FATAL_ERROR "${INPUT} is empty: there is nothing to embed")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Lines of 32 bytes, for the sake of compilers and editors.
string(REPEAT "0x..," 32 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
get_filename_component(inputName "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp" "// Generated at build time from ${inputName}; do not edit.
#include \"text/text.h\"

namespace brenvik {
namespace {

const unsigned char kBytes[${size}] = {
${bytes}
};

}  // namespace

const Bytes& ${NAME}() {
  static const Bytes bytes(kBytes, kBytes + sizeof kBytes);
  return bytes;
}

}  // namespace brenvik
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
