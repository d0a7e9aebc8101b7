#include "text/codepage.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstring>

#include "text/codepage_detail.h"

namespace brenvik {
namespace {

// Every character GBK lacks, and every unpaired surrogate, becomes one "?". ICU's own
// substitute callback would drop the default-ignorable ones (U+00AD, U+200B, U+FEFF, the
// variation selectors ...) without a trace; a name holding a zero-width space keeps a "?"
// where it stood.
void QuestionMarkForEveryCharacter(const void* /*context*/, UConverterFromUnicodeArgs* args,
                                   const UChar* /*units*/, int32_t /*length*/, UChar32 /*codePoint*/,
                                   UConverterCallbackReason reason, UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
  *status = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, "?", 1, 0, status);
}

// One pair of converters per thread, opened on first use and kept: opening an ICU
// converter costs far more than a short conversion.
class Converters {
 public:
  Converters() {
    UErrorCode status = U_ZERO_ERROR;
    gbk_ = ucnv_open("windows-936", &status);
    if (U_SUCCESS(status)) {
      status = U_ZERO_ERROR;
      ucnv_setSubstChars(gbk_, "?", 1, &status);
      status = U_ZERO_ERROR;
      ucnv_setFromUCallBack(gbk_, QuestionMarkForEveryCharacter, nullptr, nullptr, nullptr, &status);
    }
    status = U_ZERO_ERROR;
    utf8_ = ucnv_open("UTF-8", &status);
  }
  ~Converters() {
    if (gbk_ != nullptr) ucnv_close(gbk_);
    if (utf8_ != nullptr) ucnv_close(utf8_);
  }
  Converters(const Converters&) = delete;
  Converters& operator=(const Converters&) = delete;

  UConverter* For(int codePage) const { return codePage == kCodePageUtf8 ? utf8_ : gbk_; }

 private:
  UConverter* gbk_ = nullptr;
  UConverter* utf8_ = nullptr;
};

// ucnv_fromUChars and ucnv_toUChars reset the direction they convert in before they start,
// so a converter needs no reset of ours between conversions.
UConverter* ConverterFor(int codePage) {
  thread_local Converters converters;
  return converters.For(codePage);
}

// The UTF-16 units of `bytes` read in `codePage`; no terminator.
std::u16string Decode(std::string_view bytes, int codePage, int32_t* substitutions = nullptr) {
  std::u16string out;
  if (substitutions != nullptr) *substitutions = 0;
  if (bytes.empty()) return out;
  if (codePage == kCodePageUtf8) {
    // ICU's own UTF-8 reader: each ill-formed sequence becomes one U+FFFD.
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    out.resize(bytes.size());  // UTF-8 never needs more units than bytes
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, bytes.data(),
                         static_cast<int32_t>(bytes.size()), 0xFFFD, substitutions, &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return out;
  }
  UConverter* conv = ConverterFor(codePage);
  if (conv == nullptr) return out;
  out.resize(bytes.size());  // a GBK reading never needs more units than bytes
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = ucnv_toUChars(conv, out.data(), static_cast<int32_t>(out.size()), bytes.data(),
                                       static_cast<int32_t>(bytes.size()), &status);
  out.resize(U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING ? static_cast<std::size_t>(length) : 0);
  return out;
}

// `units` in `codePage`; what a code page lacks becomes its substitute ("?" for GBK).
std::string Encode(std::u16string_view units, int codePage) {
  std::string out;
  if (units.empty()) return out;
  UConverter* conv = ConverterFor(codePage);
  if (conv == nullptr) return out;
  // At most two bytes a unit in GBK, three in UTF-8; ask ICU for the size if that is ever wrong.
  out.resize(units.size() * (codePage == kCodePageUtf8 ? 3 : 2) + 1);
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()), units.data(),
                                   static_cast<int32_t>(units.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    out.resize(static_cast<std::size_t>(length) + 1);
    status = U_ZERO_ERROR;
    length = ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()), units.data(),
                             static_cast<int32_t>(units.size()), &status);
  }
  out.resize(U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING ? static_cast<std::size_t>(length) : 0);
  return out;
}

// The bytes before the first zero byte, without a copy when there is none.
std::string CutAtZeroByte(std::string bytes) {
  const auto zero = bytes.find('\0');
  if (zero != std::string::npos) bytes.resize(zero);
  return bytes;
}

std::u16string_view UpToZeroUnit(std::u16string_view units) {
  const auto zero = units.find(u'\0');
  return zero == std::u16string_view::npos ? units : units.substr(0, zero);
}

std::string_view UpToZeroByte(std::string_view bytes) {
  const auto zero = bytes.find('\0');
  return zero == std::string_view::npos ? bytes : bytes.substr(0, zero);
}

std::u16string UnitsOf(const Bytes& data) {
  std::u16string units(data.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  return units;
}

Bytes BytesOf(std::u16string_view units, std::size_t totalUnits) {
  Bytes out(totalUnits * 2, 0);
  const std::size_t n = std::min(units.size(), totalUnits);
  for (std::size_t i = 0; i < n; ++i) {
    out[2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
    out[2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
  }
  return out;
}

bool IsCombiningMark(UChar32 c) { return (U_GET_GC_MASK(c) & U_GC_M_MASK) != 0; }

// A base character followed by combining marks composed into the precomposed character where
// one exists (e, U+0301 -> é), one mark after the other; nothing else changes. Unlike NFC,
// this keeps canonical singletons (U+F92C, U+2126), characters excluded from composition
// (U+0958) and marks that decompose (U+0344) as they are, and never reorders marks.
// Hangul jamo are letters, not marks, and stay apart.
std::u16string Composed(std::u16string_view units) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status) || nfc == nullptr) return std::u16string(units);
  const icu::UnicodeString source(false, units.data(), static_cast<int32_t>(units.size()));  // read-only alias
  // Every mark that composes with something is a "maybe" of NFC's quick check, so a text
  // that passes it whole has nothing to compose.
  const int32_t done = nfc->spanQuickCheckYes(source, status);
  if (U_FAILURE(status) || done == source.length()) return std::u16string(units);

  std::u16string out(units.substr(0, static_cast<std::size_t>(done)));
  out.reserve(units.size());
  UChar32 last = U_SENTINEL;  // the last character written: the base a mark may compose with
  std::size_t lastStart = out.size();
  if (done > 0) {
    int32_t at = done;
    U16_PREV(out.data(), 0, at, last);
    lastStart = static_cast<std::size_t>(at);
  }
  const auto length = static_cast<int32_t>(units.size());
  for (int32_t i = done; i < length;) {
    UChar32 c = 0;
    U16_NEXT(units.data(), i, length, c);
    if (last != U_SENTINEL && IsCombiningMark(c)) {
      const UChar32 composite = nfc->composePair(last, c);
      if (composite >= 0) {
        out.resize(lastStart);
        c = composite;
      }
    }
    last = c;
    lastStart = out.size();
    if (U_IS_BMP(c)) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      out.push_back(U16_LEAD(c));
      out.push_back(U16_TRAIL(c));
    }
  }
  return out;
}

// The units the text needs read as GBK, the terminator included; 0 for the empty text.
// Counted the way the windows-936 converter reads: a lead byte 81-FE takes a following trail
// byte (40-7E, 80-FE) into one character, every other byte is a character of its own.
std::size_t GbkUnitsWithTerminator(std::string_view text) {
  if (text.empty()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t units = 0;
  for (std::size_t i = 0; i < n; ++units) {
    const unsigned char b = p[i];
    if (b >= 0x81 && b != 0xFF && i + 1 < n) {
      const unsigned char t = p[i + 1];
      i += ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t != 0xFF)) ? 2 : 1;
    } else {
      i += 1;
    }
  }
  return units + 1;
}

}  // namespace

namespace detail {

std::u16string GbkToU16(std::string_view gbk) { return Decode(gbk, kCodePageGbk); }

Text U16ToGbk(std::u16string_view units) { return CutAtZeroByte(Encode(Composed(UpToZeroUnit(units)), kCodePageGbk)); }

Text U16ToGbkAsIs(std::u16string_view units) { return CutAtZeroByte(Encode(UpToZeroUnit(units), kCodePageGbk)); }

Text Utf8ToGbkFast(std::string_view utf8) {
  utf8 = UpToZeroByte(utf8);  // a Text ends at a zero byte; no zero unit can come out then
  if (utf8.empty()) return {};
  int32_t substitutions = 0;
  std::u16string units = Decode(utf8, kCodePageUtf8, &substitutions);
  // The units must fit the buffer sized by the GBK reading of the same bytes. Valid UTF-8
  // always does; an ill-formed text (a page served in GBK, say) may not, and is then cut.
  if (substitutions > 0) {
    const std::size_t room = GbkUnitsWithTerminator(utf8);
    if (units.size() > room) units.resize(room);
  }
  return Encode(units, kCodePageGbk);
}

}  // namespace detail

Bytes MultiByteToUtf16(const Text& text, int codePage) {
  const std::size_t n = GbkUnitsWithTerminator(text);
  if (n == 0) return {};
  std::u16string units = Decode(text, codePage);
  units.push_back(u'\0');
  return BytesOf(units, n);  // cut at the buffer's end when the reading needs more units
}

Text Utf16ToMultiByte(const Bytes& data, int codePage) {
  if (data.empty()) return {};
  const std::u16string all = UnitsOf(data);
  const std::u16string_view units = UpToZeroUnit(all);
  const std::size_t m = Encode(units, kCodePageGbk).size() + 1;
  std::string converted = codePage == kCodePageGbk ? Encode(units, kCodePageGbk) : Encode(units, codePage);
  if (converted.size() > 2 * m) converted.resize(2 * m);  // the buffer holds 2m bytes
  return Text(UpToZeroByte(converted));
}

Text AnsiToUtf8(const Text& text) { return Utf16ToMultiByte(MultiByteToUtf16(text, kCodePageGbk), kCodePageUtf8); }

Text Utf8ToAnsi(const Text& text) { return detail::Utf8ToGbkFast(text); }

Bytes GbkToUtf16(const Text& text) {
  const std::u16string units = Decode(text, kCodePageGbk);
  return BytesOf(units, units.size());
}

Text Utf16ToGbk(const Bytes& data) { return detail::U16ToGbk(UnitsOf(data)); }

Text Gbk(std::string_view utf8) { return detail::Utf8ToGbkFast(utf8); }

}  // namespace brenvik
