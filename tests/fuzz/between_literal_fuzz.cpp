// All texts between literal markers found in the GBK bytes against the engine over the
// UTF-16 form: any page, the lookup's markers and arbitrary ones, every value and the
// first-values-only search; the two must agree byte for byte.
//
// Input: a selector byte for each marker (below the list's size: a marker of the list;
// else the next 1-8 input bytes are the marker), a byte for the maximum count, the page.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>

#include "regex/between_all_detail.h"
#include "text/codepage.h"

namespace {

using brenvik::Text;

Text Marker(const std::uint8_t*& data, std::size_t& size) {
  static const Text markers[] = {"<td>", "</td>", brenvik::Gbk("点击查看相关比赛\"  title=\""), "\"></a></li>",
                                 "#\xD2\xFD\xBA\xC5", "\r\n", "td", "T", "\xB5\xE3", "<", ">", "\x81\x61"};
  if (size == 0) return {};
  const std::uint8_t selector = *data++;
  --size;
  if (selector < std::size(markers)) return markers[selector];
  std::size_t length = std::min<std::size_t>(selector % 8 + 1, size);
  Text marker(reinterpret_cast<const char*>(data), length);
  for (char& ch : marker) {
    if (ch == '\0') ch = 'x';
  }
  data += length;
  size -= length;
  return marker;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brenvik;
  const Text start = Marker(data, size);
  const Text end = Marker(data, size);
  const std::size_t maxCount = size > 0 ? *data % 4 : 0;
  if (size > 0) {
    ++data;
    --size;
  }
  const Text page = BytesToText(Bytes(data, data + size));
  TextArray literal;
  TextArray engine;
  detail::BetweenAllText text(page);
  text.Collect(start, end, literal, {.maxCount = maxCount});
  text.Collect(start, end, engine, {.maxCount = maxCount, .literalSearch = false});
  if (literal != engine) std::abort();
  return 0;
}
