# cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DNAME=<symbol> -P embed_file.cmake
# Writes a C++ source defining brenvik::detail::<NAME>Data (the exact bytes of INPUT) and
# <NAME>Size, so that the program carries the file in itself. Rewrites OUTPUT only on change.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Lines of 32 bytes, for the sake of compilers and editors.
string(REPEAT "0x..," 32 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
get_filename_component(inputName "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp" "// Generated at build time from app/assets/${inputName}; do not edit.
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
