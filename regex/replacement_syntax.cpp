#include "regex/replacement_syntax.h"

namespace brenvik::detail {

std::u16string ReplacementForPcre(std::u16string_view r, std::uint32_t groups) {
  std::u16string out;
  out.reserve(r.size() + 8);
  auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  auto group = [&out](unsigned n) {
    out += u"${";
    if (n >= 10) out += static_cast<char16_t>(u'0' + n / 10);
    out += static_cast<char16_t>(u'0' + n % 10);
    out += u'}';
  };
  for (std::size_t i = 0; i < r.size(); ++i) {
    const char16_t c = r[i];
    if (c != u'$' || i + 1 == r.size()) {
      if (c == u'$') out += u"$$";
      else out += c;
      continue;
    }
    const char16_t n1 = r[i + 1];
    if (n1 == u'$') {
      out += u"$$";
      ++i;
    } else if (n1 == u'&') {
      group(0);
      ++i;
    } else if (isDigit(n1)) {
      const unsigned one = n1 - u'0';
      if (i + 2 < r.size() && isDigit(r[i + 2])) {
        const unsigned two = one * 10 + (r[i + 2] - u'0');
        if (two >= 1 && two <= groups) {
          group(two);
          i += 2;
          continue;
        }
      }
      if (one >= 1 && one <= groups) {
        group(one);
        ++i;
      } else {
        out += u"$$";
      }
    } else {
      out += u"$$";
    }
  }
  return out;
}

}  // namespace brenvik::detail
