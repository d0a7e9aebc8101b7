// The window's form without a window: edit boxes, captions, text colours and pictures kept
// the way the window keeps them (a read gives back what was last written, an edit box what
// was written and appended), the server list of the window, converted to GBK.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "lookup/form.h"

namespace brenvik::cli {

class LookupForm final : public Form {
 public:
  // The name box holds `name` (GBK), the server list has entry `server` selected.
  LookupForm(const Text& name, int server);

  Text EditText(std::string_view edit) const override;
  void SetEditText(std::string_view edit, const Text& text) override;
  void EditAppendText(std::string_view edit, const Text& text) override;
  void SetCaption(std::string_view label, const Text& caption) override;
  void SetTextColour(std::string_view label, std::uint32_t colour) override;
  int ComboSelection(std::string_view combo) const override;
  Text ComboItemText(std::string_view combo, int index) const override;
  Bytes Picture(std::string_view box) const override;
  void SetPicture(std::string_view box, const Bytes& bytes) override;

  // The caption last written to `label`; nothing when the query did not write it.
  [[nodiscard]] std::optional<Text> Caption(std::string_view label) const;

 private:
  std::map<std::string, Text, std::less<>> edits_;
  std::map<std::string, Text, std::less<>> captions_;
  std::map<std::string, std::uint32_t, std::less<>> colours_;
  std::map<std::string, Bytes, std::less<>> pictures_;
  int selection_;
};

}  // namespace brenvik::cli
