// The marker word: inside a marker (TextBetween, TextBetweenAll, the regex object's quote
// option) "#引号" stands for one double quote. Here in GBK, the bytes the routines compare.
#pragma once

#include <string_view>

namespace brenvik {

inline constexpr std::string_view kQuoteWord = "#\xD2\xFD\xBA\xC5";  // "#引号"

}  // namespace brenvik
