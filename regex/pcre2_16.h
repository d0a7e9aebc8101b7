// PCRE2 with 16-bit code units, the width every file of the regex object works in.
#pragma once

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>
