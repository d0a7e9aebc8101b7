// The bridge between the system's GBK texts and Qt's UTF-16 strings. Both directions convert
// unit for unit and compose nothing: a GBK text shown in a control and read back gives
// exactly the bytes written (FD 9C stays FD 9C, not the unified ideograph C0 C9). A character
// GBK lacks reads back as "?", one for each character; the text ends at a zero unit.
#pragma once

#include <QString>

#include "text/text.h"

namespace brenvik {

[[nodiscard]] QString QStringFromGbk(const Text& text);
[[nodiscard]] Text GbkFromQString(const QString& text);

}  // namespace brenvik
