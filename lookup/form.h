// The control properties through which the lookup reads and writes the window. Controls are
// addressed by the form's names in UTF-8 ("编辑框1", "标签3", "图片框1" ...); values are GBK
// Text or picture Bytes. Writes never fail; a name the form does not have is ignored.
#pragma once

#include <cstdint>
#include <string_view>

#include "text/text.h"

namespace brenvik {

class Form {
 public:
  virtual ~Form() = default;
  // The whole current text of an edit box.
  virtual Text EditText(std::string_view edit) const = 0;
  // Replaces the whole text of an edit box.
  virtual void SetEditText(std::string_view edit, const Text& text) = 0;
  // Caret to the end, `text` inserted there.
  virtual void EditAppendText(std::string_view edit, const Text& text) = 0;
  virtual void SetCaption(std::string_view label, const Text& caption) = 0;
  // 0x00BBGGRR, red in the low byte.
  virtual void SetTextColour(std::string_view label, std::uint32_t colour) = 0;
  // 0-based index of the selected entry, -1 when none is selected.
  virtual int ComboSelection(std::string_view combo) const = 0;
  // The text of entry `index`; the empty text when `index` is outside the list.
  virtual Text ComboItemText(std::string_view combo, int index) const = 0;
  // Exactly the bytes last written to the box, whether or not they could be shown.
  virtual Bytes Picture(std::string_view box) const = 0;
  virtual void SetPicture(std::string_view box, const Bytes& bytes) = 0;
};

}  // namespace brenvik
