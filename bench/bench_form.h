// A Form for the benchmarks: it answers reads the way the window does (edit boxes keep what
// was set and appended, the server list's first entry is selected, picture boxes give back
// the bytes last written) and keeps nothing else, so a timed query pays only for the lookup.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "lookup/form.h"
#include "lookup/form_names.h"
#include "text/codepage.h"
#include "text/text.h"

namespace brenvik::bench {

class MemoryForm : public Form {
 public:
  explicit MemoryForm(Text name) { edits_[std::string(names::kNameBox)] = std::move(name); }

  Text EditText(std::string_view edit) const override { return Get(edits_, edit); }
  void SetEditText(std::string_view edit, const Text& text) override { edits_[std::string(edit)] = text; }
  void EditAppendText(std::string_view edit, const Text& text) override { edits_[std::string(edit)] += text; }
  void SetCaption(std::string_view label, const Text& caption) override { captions_[std::string(label)] = caption; }
  void SetTextColour(std::string_view, std::uint32_t) override {}
  int ComboSelection(std::string_view) const override { return 0; }
  Text ComboItemText(std::string_view, int) const override { return server_; }
  Bytes Picture(std::string_view box) const override { return Get(pictures_, box); }
  void SetPicture(std::string_view box, const Bytes& bytes) override { pictures_[std::string(box)] = bytes; }

  Text Caption(std::string_view label) const { return Get(captions_, label); }

 private:
  template <typename Value>
  static Value Get(const std::map<std::string, Value, std::less<>>& map, std::string_view key) {
    const auto it = map.find(key);
    return it == map.end() ? Value() : it->second;
  }

  Text server_ = Gbk(names::kServerEntries[0]);
  std::map<std::string, Text, std::less<>> edits_;
  std::map<std::string, Text, std::less<>> captions_;
  std::map<std::string, Bytes, std::less<>> pictures_;
};

}  // namespace brenvik::bench
