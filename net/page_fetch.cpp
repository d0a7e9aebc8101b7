#include "net/page_fetch.h"

#include <curl/curl.h>

#include "net/transfer.h"

namespace brenvik {

Bytes PageFetch(const Text& address) {
  auto transfer = detail::Transfer::Prepare(address);
  if (!transfer) return {};
  curl_easy_perform(transfer->Handle());  // whatever the outcome: the body that arrived is the result
  return transfer->TakeBody();
}

}  // namespace brenvik
