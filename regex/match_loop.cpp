#include "regex/match_loop.h"

#include <algorithm>
#include <limits>

namespace brenvik::detail {
namespace {

constexpr std::uint32_t kUnset = kNoSpan;

// One JIT stack per thread, kept between searches.
pcre2_jit_stack* ThreadJitStack() {
  struct Holder {
    pcre2_jit_stack* stack = pcre2_jit_stack_create(32 * 1024, 8 * 1024 * 1024, nullptr);
    ~Holder() { pcre2_jit_stack_free(stack); }
  };
  thread_local Holder holder;
  return holder.stack;
}

int LookAtDeadline(pcre2_callout_block* /*block*/, void* data) {
  return Clock::now() > static_cast<const Deadline*>(data)->at ? PCRE2_ERROR_CALLOUT : 0;
}

struct MatchData {
  pcre2_match_data* data;
  explicit MatchData(const pcre2_code* code) : data(pcre2_match_data_create_from_pattern(code, nullptr)) {}
  ~MatchData() { pcre2_match_data_free(data); }
  MatchData(const MatchData&) = delete;
  MatchData& operator=(const MatchData&) = delete;
};

bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Slices of start positions handed to one match call: small at first, doubled while calls
// come back quickly, cut when one is slow, so that the deadline is looked at every few tens
// of milliseconds. Large slices matter for the JIT: within one call it remembers how far a
// failed lazy run got and does not scan that far again from the next start position.
constexpr std::size_t kFirstSlice = 128;
constexpr std::size_t kMinSlice = 16;
constexpr std::size_t kMaxSlice = std::size_t{1} << 24;
constexpr auto kFastCall = std::chrono::milliseconds(10);
constexpr auto kSlowCall = std::chrono::milliseconds(50);

}  // namespace

RegexBudget& ThreadBudget() {
  thread_local RegexBudget budget;
  return budget;
}

bool JitAvailable() {
  static const bool available = [] {
    std::uint32_t jit = 0;
    return pcre2_config(PCRE2_CONFIG_JIT, &jit) >= 0 && jit == 1;
  }();
  return available;
}

RegexBudget CurrentRegexBudget() { return ThreadBudget(); }
void SetRegexBudget(const RegexBudget& budget) { ThreadBudget() = budget; }
bool RegexJitAvailable() { return JitAvailable(); }

MatchContext::MatchContext(const RegexBudget& budget, const Compiled& compiled)
    : deadline{Clock::now() + budget.deadline} {
  if (ctx == nullptr) return;
  pcre2_set_match_limit(ctx, budget.matchLimit);
  pcre2_set_heap_limit(ctx, budget.heapLimitKiB);
  if (pcre2_jit_stack* stack = ThreadJitStack()) pcre2_jit_stack_assign(ctx, nullptr, stack);
  if (compiled.startCallout) pcre2_set_callout(ctx, LookAtDeadline, &deadline);
}

// The offsets of every match of `compiled` in `subject` (only the first unless `global`, at
// most `maxMatches` unless that is 0), within the thread's budget. False when the engine
// failed or the budget ran out; `offsets` is then empty.
bool RunMatches(const Compiled& compiled, std::u16string_view subject, bool global,
                std::vector<std::uint32_t>& offsets, std::size_t maxMatches) {
  const RegexBudget budget = ThreadBudget();
  MatchContext mc(budget, compiled);
  MatchData md(compiled.code);
  if (mc.ctx == nullptr || md.data == nullptr) return false;

  const auto subjectPtr = reinterpret_cast<PCRE2_SPTR>(subject.data());
  const std::size_t length = subject.size();
  const std::size_t stride = 2 * (std::size_t{compiled.captureCount} + 1);
  const auto deadline = mc.deadline.at;
  auto lastLook = Clock::now();

  std::size_t start = 0;
  std::size_t slice = kFirstSlice;
  std::uint32_t options = 0;  // the first call checks the subject's UTF, later ones do not
  for (unsigned calls = 1;; ++calls) {
    const std::size_t limit = std::min(length, start + slice);
    pcre2_set_offset_limit(mc.ctx, limit);
    const int rc = pcre2_match(compiled.code, subjectPtr, length, start, options, md.data, mc.ctx);
    options |= PCRE2_NO_UTF_CHECK;
    // The clock is read after each exhausted slice and every 16th match: each call stays
    // within one slice of start positions, so the deadline is never far off.
    const bool sliceDone = rc == PCRE2_ERROR_NOMATCH;
    if (sliceDone || calls % 16 == 0) {
      const auto now = Clock::now();
      const auto took = now - lastLook;
      lastLook = now;
      if (now > deadline) break;
      if (took > kSlowCall) {
        slice = std::max(kMinSlice, slice / 4);
      } else if (sliceDone && took < kFastCall) {
        slice = std::min(kMaxSlice, slice * 2);
      }
    }
    if (sliceDone) {
      if (limit >= length) return true;
      start = limit + 1;
      if (start < length && IsLowSurrogate(subject[start])) ++start;
      options &= ~PCRE2_NOTEMPTY_ATSTART;
      continue;
    }
    if (rc <= 0) break;  // limits, memory, JIT stack: the engine failed
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(md.data);
    if (ov[0] > ov[1]) break;  // \K in a lookahead: no sensible next start
    for (std::size_t i = 0; i < stride; ++i) {
      const std::size_t pair = i / 2;
      const bool set = pair < static_cast<std::size_t>(rc) && ov[2 * pair] != PCRE2_UNSET;
      offsets.push_back(set ? static_cast<std::uint32_t>(ov[i]) : kUnset);
    }
    if (!global || (maxMatches != 0 && offsets.size() / stride >= maxMatches)) return true;
    // After an empty match the next one may start at the same place only if it is not empty.
    start = ov[1];
    if (ov[0] == ov[1]) {
      if (start >= length) return true;
      options |= PCRE2_NOTEMPTY_ATSTART;
    } else {
      options &= ~PCRE2_NOTEMPTY_ATSTART;
    }
  }
  offsets.clear();
  return false;
}

}  // namespace brenvik::detail
