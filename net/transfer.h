// One download made ready for libcurl: the parsed address, the easy handle with every option
// of our request, and the body it collects. PageFetch and FetchGroup both run these.
#pragma once

#include <atomic>
#include <memory>

#include "text/text.h"

typedef void CURL;

namespace brenvik::detail {

class Transfer {
 public:
  // Null when nothing may be sent for `address` (empty, not http(s), a part too long) or
  // libcurl cannot be set up. With `cancel`, the download stops once the flag is set.
  static std::unique_ptr<Transfer> Prepare(const Text& address, const std::atomic<bool>* cancel = nullptr);
  ~Transfer();
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  [[nodiscard]] CURL* Handle() const;
  // What arrived, up to the cap; the transfer's body is empty afterwards.
  [[nodiscard]] Bytes TakeBody();

 struct State;  // the handle's options and what it collected; opaque outside transfer.cpp

 private:
  explicit Transfer(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace brenvik::detail
