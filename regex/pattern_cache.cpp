#include "regex/pattern_cache.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

namespace brenvik::detail {
namespace {

// Where a callout can go in front of the pattern: after the leading "(*UTF)"-style settings,
// which must stay first.
std::size_t AfterLeadingSettings(std::u16string_view p) {
  std::size_t at = 0;
  while (p.substr(at, 2) == u"(*") {
    std::size_t i = at + 2;
    while (i < p.size() && ((p[i] >= u'A' && p[i] <= u'Z') || (p[i] >= u'0' && p[i] <= u'9') || p[i] == u'_' ||
                            p[i] == u'=')) {
      ++i;
    }
    if (i == at + 2 || i >= p.size() || p[i] != u')') break;
    at = i + 1;
  }
  return at;
}

pcre2_code* CompileText(std::u16string_view pattern, std::uint32_t options) {
  pcre2_compile_context* cc = pcre2_compile_context_create(nullptr);
  if (cc == nullptr) return nullptr;
  pcre2_set_newline(cc, PCRE2_NEWLINE_LF);
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code =
      pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &error, &errorOffset, cc);
  pcre2_compile_context_free(cc);
  return code;
}

struct CacheKey {
  std::u16string pattern;
  std::uint32_t options;
  bool jit;
  bool operator==(const CacheKey&) const = default;
};

// The few patterns compiled last on this thread; a lookup compiles the same two per query.
class PatternCache {
 public:
  std::shared_ptr<const Compiled> Get(const std::u16string& pattern, std::uint32_t options, bool jit) {
    CacheKey key{pattern, options, jit};
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->first == key) {
        std::rotate(entries_.begin(), it, it + 1);
        return entries_.front().second;
      }
    }
    auto compiled = Compile(pattern, options, jit);
    if (!compiled) return nullptr;
    if (entries_.size() == kSize) entries_.pop_back();
    entries_.insert(entries_.begin(), {std::move(key), compiled});
    return compiled;
  }

 private:
  static constexpr std::size_t kSize = 8;

  static std::shared_ptr<const Compiled> Compile(const std::u16string& pattern, std::uint32_t options,
                                                 bool jit) {
    pcre2_code* code = CompileText(pattern, options);
    if (code == nullptr) return nullptr;  // the engine rejects the pattern
    auto compiled = std::make_shared<Compiled>();
    compiled->code = code;
    pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &compiled->captureCount);
    if (jit && pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0) return compiled;
    // The interpreter: a callout in front lets the search look at its deadline at every start
    // position. (On the JIT the slices do that job; a callout there would cost the JIT its
    // memory of failed lazy runs and make the many-start-markers page quadratic again.)
    std::u16string withCallout = pattern;
    withCallout.insert(AfterLeadingSettings(pattern), u"(?C1)");
    if (pcre2_code* counted = CompileText(withCallout, options)) {
      pcre2_code_free(code);
      compiled->code = counted;
      compiled->startCallout = true;
    }
    return compiled;
  }

  std::vector<std::pair<CacheKey, std::shared_ptr<const Compiled>>> entries_;
};

}  // namespace

std::shared_ptr<const Compiled> CachedPattern(const std::u16string& pattern, std::uint32_t options, bool jit) {
  thread_local PatternCache cache;
  return cache.Get(pattern, options, jit);
}

}  // namespace brenvik::detail
