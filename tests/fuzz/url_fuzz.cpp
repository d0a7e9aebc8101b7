// The page path: any bytes percent-decoded and read as UTF-8, and names encoded back; the
// one-pass decoding from UTF-8 checked against decoding and converting in two steps.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "text/codepage.h"
#include "text/url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const brenvik::Text input(reinterpret_cast<const char*>(data), size);
  const brenvik::Text page = brenvik::BytesToText(brenvik::Bytes(data, data + size));
  const brenvik::Text decoded = brenvik::UrlDecode(page, true);
  if (decoded.find('\0') != brenvik::Text::npos) std::abort();  // a Text never holds a zero byte
  const brenvik::Text raw = brenvik::UrlDecode(page, false);
  if (raw.size() > page.size()) std::abort();  // decoding never lengthens
  // Decoding from UTF-8 runs in one pass: the same bytes as decoding, then converting.
  if (decoded != brenvik::Utf8ToAnsi(raw)) std::abort();
  (void)brenvik::Utf8ToAnsi(page);
  (void)brenvik::AnsiToUtf8(page);
  const brenvik::Text encoded = brenvik::UrlEncode(page, size % 2 == 0, false);
  // Encoding without UTF-8 conversion is undone exactly by decoding.
  if (brenvik::UrlDecode(encoded, false) != page) std::abort();
  (void)brenvik::MultiByteToUtf16(page);
  (void)brenvik::Utf16ToGbk(brenvik::Bytes(data, data + size));
  (void)brenvik::Utf16ToMultiByte(brenvik::Bytes(data, data + size), 65001);
  (void)input;
  return 0;
}
