// The whole query on a recording form, every download answered from the fuzz input: the
// input is split at 0xFF 0xFE pairs into the page, the avatar, the promotional picture and
// the icons, in the order they are asked for.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "lookup/query_internal.h"
#include "tests/support/recording_form.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brenvik;
  std::vector<Bytes> answers(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (i + 1 < size && data[i] == 0xFF && data[i + 1] == 0xFE) {
      answers.emplace_back();
      ++i;
    } else {
      answers.back().push_back(data[i]);
    }
  }
  std::size_t next = 0;
  const detail::Fetcher fetch = [&](const Text& address) -> Bytes {
    if (address.empty()) return {};
    return next < answers.size() ? answers[next++] : Bytes();
  };
  testing::RecordingForm form;
  detail::RunQuery(form, Site{"http://stats.test", "http://img.test/promo.jpg"}, fetch);
  return 0;
}
