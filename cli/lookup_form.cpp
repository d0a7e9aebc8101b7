#include "cli/lookup_form.h"

#include "lookup/form_names.h"
#include "text/codepage.h"

namespace brenvik::cli {

LookupForm::LookupForm(const Text& name, int server) : selection_(server) {
  edits_[std::string(names::kNameBox)] = name;
}

Text LookupForm::EditText(std::string_view edit) const {
  const auto it = edits_.find(edit);
  return it == edits_.end() ? Text() : it->second;
}

void LookupForm::SetEditText(std::string_view edit, const Text& text) { edits_[std::string(edit)] = text; }

void LookupForm::EditAppendText(std::string_view edit, const Text& text) { edits_[std::string(edit)] += text; }

void LookupForm::SetCaption(std::string_view label, const Text& caption) { captions_[std::string(label)] = caption; }

void LookupForm::SetTextColour(std::string_view label, std::uint32_t colour) {
  colours_[std::string(label)] = colour;
}

int LookupForm::ComboSelection(std::string_view combo) const { return combo == names::kServerList ? selection_ : -1; }

Text LookupForm::ComboItemText(std::string_view combo, int index) const {
  if (combo != names::kServerList || index < 0 || static_cast<std::size_t>(index) >= names::kServerEntries.size()) {
    return {};
  }
  return Gbk(names::kServerEntries[static_cast<std::size_t>(index)]);
}

Bytes LookupForm::Picture(std::string_view box) const {
  const auto it = pictures_.find(box);
  return it == pictures_.end() ? Bytes() : it->second;
}

void LookupForm::SetPicture(std::string_view box, const Bytes& bytes) { pictures_[std::string(box)] = bytes; }

std::optional<Text> LookupForm::Caption(std::string_view label) const {
  const auto it = captions_.find(label);
  if (it == captions_.end()) return std::nullopt;
  return it->second;
}

}  // namespace brenvik::cli
