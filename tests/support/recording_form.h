// A Form that keeps every write in order and answers reads like the window: an edit box
// gives back what was written and appended, the server list holds the 26 entries, a
// picture box gives back exactly the bytes last written.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "lookup/form.h"
#include "lookup/form_names.h"

namespace brenvik::testing {

struct FormWrite {
  std::string op;       // "text", "append", "caption", "colour", "picture"
  std::string control;  // the form's name, UTF-8
  Text text;            // the text, caption or picture bytes (as bytes)
  std::uint32_t colour = 0;

  bool operator==(const FormWrite&) const = default;
};

class RecordingForm : public Form {
 public:
  RecordingForm();

  Text EditText(std::string_view edit) const override;
  void SetEditText(std::string_view edit, const Text& text) override;
  void EditAppendText(std::string_view edit, const Text& text) override;
  void SetCaption(std::string_view label, const Text& caption) override;
  void SetTextColour(std::string_view label, std::uint32_t colour) override;
  int ComboSelection(std::string_view combo) const override;
  Text ComboItemText(std::string_view combo, int index) const override;
  Bytes Picture(std::string_view box) const override;
  void SetPicture(std::string_view box, const Bytes& bytes) override;

  // What the user did: type a name (GBK), pick an entry.
  void TypeName(const Text& name) { edits_[std::string(names::kNameBox)] = name; }
  void Select(int index) { selection_ = index; }

  const std::vector<FormWrite>& Writes() const { return writes_; }
  void ClearWrites() { writes_.clear(); }
  // The current caption, colour and picture, as the window would show them.
  Text Caption(std::string_view label) const;
  std::uint32_t Colour(std::string_view label) const;

  // The 26 server entries, GBK, in list order.
  static const std::vector<Text>& ServerEntries();

 private:
  std::map<std::string, Text, std::less<>> edits_;
  std::map<std::string, Text, std::less<>> captions_;
  std::map<std::string, std::uint32_t, std::less<>> colours_;
  std::map<std::string, Bytes, std::less<>> pictures_;
  int selection_ = 0;
  std::vector<FormWrite> writes_;
};

}  // namespace brenvik::testing
