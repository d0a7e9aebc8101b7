#include "tests/support/recording_form.h"

#include "lookup/form_names.h"
#include "text/codepage.h"

namespace brenvik::testing {

RecordingForm::RecordingForm() { edits_[std::string(names::kNameBox)] = Gbk("青石过客R2"); }

const std::vector<Text>& RecordingForm::ServerEntries() {
  static const std::vector<Text> entries = [] {
    std::vector<Text> out;
    for (std::string_view name : names::kServerEntries) out.push_back(Gbk(name));
    return out;
  }();
  return entries;
}

Text RecordingForm::EditText(std::string_view edit) const {
  const auto it = edits_.find(edit);
  return it == edits_.end() ? Text() : it->second;
}

void RecordingForm::SetEditText(std::string_view edit, const Text& text) {
  edits_[std::string(edit)] = text;
  writes_.push_back({"text", std::string(edit), text});
}

void RecordingForm::EditAppendText(std::string_view edit, const Text& text) {
  edits_[std::string(edit)] += text;
  writes_.push_back({"append", std::string(edit), text});
}

void RecordingForm::SetCaption(std::string_view label, const Text& caption) {
  captions_[std::string(label)] = caption;
  writes_.push_back({"caption", std::string(label), caption});
}

void RecordingForm::SetTextColour(std::string_view label, std::uint32_t colour) {
  colours_[std::string(label)] = colour;
  writes_.push_back({"colour", std::string(label), {}, colour});
}

int RecordingForm::ComboSelection(std::string_view) const { return selection_; }

Text RecordingForm::ComboItemText(std::string_view, int index) const {
  const auto& entries = ServerEntries();
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
  return entries[static_cast<std::size_t>(index)];
}

Bytes RecordingForm::Picture(std::string_view box) const {
  const auto it = pictures_.find(box);
  return it == pictures_.end() ? Bytes() : it->second;
}

void RecordingForm::SetPicture(std::string_view box, const Bytes& bytes) {
  pictures_[std::string(box)] = bytes;
  writes_.push_back({"picture", std::string(box), Text(bytes.begin(), bytes.end())});
}

Text RecordingForm::Caption(std::string_view label) const {
  const auto it = captions_.find(label);
  return it == captions_.end() ? Text() : it->second;
}

std::uint32_t RecordingForm::Colour(std::string_view label) const {
  const auto it = colours_.find(label);
  return it == colours_.end() ? 0 : it->second;
}

}  // namespace brenvik::testing
