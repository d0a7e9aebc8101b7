// Bytes spelled out in hexadecimal ("B2 E9 "), for test failure messages.
#pragma once

#include <string>
#include <string_view>

namespace brenvik::testing {

inline std::string Hex(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    out += {kHex[b >> 4], kHex[b & 0xF], ' '};
  }
  return out;
}

}  // namespace brenvik::testing
