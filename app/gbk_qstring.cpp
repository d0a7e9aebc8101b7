#include "app/gbk_qstring.h"

#include <string_view>

#include "text/codepage_detail.h"

namespace brenvik {

QString QStringFromGbk(const Text& text) { return QString::fromStdU16String(detail::GbkToU16(text)); }

Text GbkFromQString(const QString& text) {
  const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                  static_cast<std::size_t>(text.size()));
  return detail::U16ToGbkAsIs(units);
}

}  // namespace brenvik
