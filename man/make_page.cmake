# One manual page: help2man over the program's --help and --version, then every subsection
# that --help heads with "Name:" (Servers, Exit status) made a section of its own, then gzip.
#   cmake -DHELP2MAN=.. -DGZIP=.. -DPROGRAM=<path> -DSUMMARY=.. -DINCLUDE=<.h2m> -DPAGE=<out.1>
#         -DEPOCH=<seconds> -P make_page.cmake
set(ENV{SOURCE_DATE_EPOCH} ${EPOCH})
# The program runs here, in a UTF-8 locale (its help holds Chinese names): no display, no
# leak report from a sanitizer build, no origins of the caller's environment in the page.
set(ENV{ASAN_OPTIONS} detect_leaks=0)
unset(ENV{BRENVIK_STATS_ORIGIN})
unset(ENV{BRENVIK_IMAGE_ORIGIN})
execute_process(COMMAND ${HELP2MAN} --no-info --locale=C.UTF-8 --section=1 --name=${SUMMARY}
                        --include=${INCLUDE} --output=${PAGE} ${PROGRAM}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man ${PROGRAM} failed: ${err}")
endif()

file(READ ${PAGE} roff)
string(REGEX MATCHALL "\n\\.SS \"[^\"\n]*:\"\n" headings "${roff}")
foreach(heading IN LISTS headings)
  string(REGEX REPLACE "\n\\.SS \"([^\"\n]*):\"\n" "\\1" name "${heading}")
  string(TOUPPER "${name}" name)
  string(REPLACE "${heading}" "\n.SH \"${name}\"\n" roff "${roff}")
endforeach()
file(WRITE ${PAGE} "${roff}")

execute_process(COMMAND ${GZIP} -9nf ${PAGE} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip ${PAGE} failed")
endif()
