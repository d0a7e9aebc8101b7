#include "net/transfer.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>

#include "net/page_fetch_internal.h"

namespace brenvik {
namespace detail {

FetchLimits& CurrentFetchLimits() {
  static FetchLimits limits;
  return limits;
}

namespace {

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr std::size_t kHostLimit = 256;
constexpr std::size_t kUserLimit = 128;
constexpr std::size_t kPasswordLimit = 128;
constexpr std::size_t kPathLimit = 2048;

// The process-wide session: libcurl's global state, set up by the first download that needs
// it and kept to the end of the process. A failed set-up is tried again by the next call.
bool FetchSessionReady() {
  static std::mutex mutex;
  static bool ready = false;
  std::lock_guard<std::mutex> lock(mutex);
  if (!ready) ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// The length of one part of the address; 0 when the address has none.
std::size_t PartLength(CURLU* url, CURLUPart part) {
  char* value = nullptr;
  if (curl_url_get(url, part, &value, 0) != CURLUE_OK || value == nullptr) return 0;
  const std::size_t length = std::strlen(value);
  curl_free(value);
  return length;
}

// Parses the address once and checks what may be fetched: http and https only, and every
// part within the sizes an address may have here.
std::unique_ptr<CURLU, UrlDeleter> ParseAddress(const Text& address) {
  std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
  if (!url) return nullptr;
  // Taken as given: nothing percent-encoded again, "../" not folded.
  if (curl_url_set(url.get(), CURLUPART_URL, address.c_str(), CURLU_PATH_AS_IS | CURLU_NON_SUPPORT_SCHEME) !=
      CURLUE_OK) {
    return nullptr;
  }
  char* scheme = nullptr;
  if (curl_url_get(url.get(), CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK || scheme == nullptr) return nullptr;
  const bool web = curl_strequal(scheme, "http") != 0 || curl_strequal(scheme, "https") != 0;
  curl_free(scheme);
  if (!web) return nullptr;
  // Each part must fit its buffer together with the terminating zero: a host of at most 255
  // bytes, user name and password of at most 127, path with query of at most 2047.
  const std::size_t host = PartLength(url.get(), CURLUPART_HOST);
  if (host == 0 || host >= kHostLimit) return nullptr;
  if (PartLength(url.get(), CURLUPART_USER) >= kUserLimit) return nullptr;
  if (PartLength(url.get(), CURLUPART_PASSWORD) >= kPasswordLimit) return nullptr;
  const std::size_t path = PartLength(url.get(), CURLUPART_PATH);
  const std::size_t query = PartLength(url.get(), CURLUPART_QUERY);
  if (path + (query > 0 ? query + 1 : 0) >= kPathLimit) return nullptr;
  // The fragment is never sent.
  curl_url_set(url.get(), CURLUPART_FRAGMENT, nullptr, 0);
  return url;
}

// Gives the download up once no byte has moved for the stall time, or at once when it is
// cancelled. curl's own low-speed check averages over a window of several seconds, so a
// download that stops dead after some bytes would run on for that window as well; this
// watch ends it on time. curl calls it about once a second even when nothing arrives (and
// often while data flows).
int OnProgress(void* user, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded);
std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user);

}  // namespace

struct Transfer::State {
  std::unique_ptr<CURLU, UrlDeleter> url;
  std::unique_ptr<CURL, EasyDeleter> easy;
  std::unique_ptr<curl_slist, ListDeleter> headers;
  const std::atomic<bool>* cancel = nullptr;
  Bytes body;
  std::size_t cap = 0;
  // Progress seen by the stall watch: bytes moved so far and when that last changed.
  curl_off_t moved = 0;
  std::chrono::steady_clock::time_point lastMove = std::chrono::steady_clock::now();
  std::chrono::milliseconds stallTime{0};
};

namespace {

int OnProgress(void* user, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
  auto* state = static_cast<Transfer::State*>(user);
  if (state->cancel != nullptr && state->cancel->load(std::memory_order_relaxed)) return 1;
  const auto now = std::chrono::steady_clock::now();
  if (downloaded + uploaded != state->moved) {
    state->moved = downloaded + uploaded;
    state->lastMove = now;
    return 0;
  }
  return now - state->lastMove >= state->stallTime ? 1 : 0;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* state = static_cast<Transfer::State*>(user);
  const std::size_t n = size * count;
  if (state->cancel != nullptr && state->cancel->load(std::memory_order_relaxed)) return 0;
  const std::size_t room = state->cap - std::min(state->cap, state->body.size());
  const std::size_t take = std::min(n, room);
  state->body.insert(state->body.end(), data, data + take);
  return take < n ? 0 : n;  // at the cap the transfer stops: what arrived up to it is kept
}

}  // namespace

std::unique_ptr<Transfer> Transfer::Prepare(const Text& address, const std::atomic<bool>* cancel) {
  if (address.empty()) return nullptr;
  auto state = std::make_unique<State>();
  state->url = ParseAddress(address);
  if (!state->url) return nullptr;
  if (!FetchSessionReady()) return nullptr;
  state->easy.reset(curl_easy_init());
  if (!state->easy) return nullptr;
  // Our own Accept header in place of curl's, and no other.
  state->headers.reset(curl_slist_append(nullptr, "Accept: */*"));
  if (!state->headers) return nullptr;

  const FetchLimits& limits = CurrentFetchLimits();
  state->cancel = cancel;
  state->cap = limits.bodyCap;
  state->stallTime = std::chrono::milliseconds(limits.stallTimeMs);
  CURL* h = state->easy.get();
  curl_easy_setopt(h, CURLOPT_CURLU, state->url.get());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, limits.maxRedirects);
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(h, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, state->headers.get());
  // A direct connection, as the tool always made: proxies from the environment are not used.
  curl_easy_setopt(h, CURLOPT_PROXY, "");
  // A connection of its own for every request, never one left over from another.
  curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
  curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
  // A trickle below 1 byte a second is caught by curl's low-speed check, a dead stop by
  // OnProgress.
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, std::max(1L, (limits.stallTimeMs + 999) / 1000));
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, state.get());
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  // Reads of at most 10,240 bytes, the size for a body of unknown length. curl sizes its
  // receive buffer before the answer's headers arrive and must not have it changed during a
  // transfer, so the larger reads a Content-Length would allow (up to 102,400) are not used;
  // no read is ever larger than the largest allowed.
  curl_easy_setopt(h, CURLOPT_BUFFERSIZE, 10240L);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, state.get());
  return std::unique_ptr<Transfer>(new Transfer(std::move(state)));
}

Transfer::Transfer(std::unique_ptr<State> state) : state_(std::move(state)) {}
Transfer::~Transfer() = default;

CURL* Transfer::Handle() const { return state_->easy.get(); }

Bytes Transfer::TakeBody() { return std::move(state_->body); }

}  // namespace detail
}  // namespace brenvik
