// The classic regex object's replacement syntax, written out for pcre2_substitute.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brenvik::detail {

// The replacement in PCRE2's dollar syntax: "$$", "$&", "$1".."$99" as the classic regex
// object reads them (two digits when that group exists, else one), every other dollar
// literal.
[[nodiscard]] std::u16string ReplacementForPcre(std::u16string_view r, std::uint32_t groups);

}  // namespace brenvik::detail
