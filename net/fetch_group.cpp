#include "net/fetch_group.h"

#include <curl/curl.h>

#include <vector>

#include "net/transfer.h"

namespace brenvik {
namespace {

// How long one wait for socket activity lasts at most, so that a cancel is seen soon.
constexpr int kPollMs = 20;

struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

}  // namespace

struct FetchGroup::State {
  struct Slot {
    std::unique_ptr<detail::Transfer> transfer;  // null: nothing was sent, or already taken
    bool done = false;
  };
  const std::atomic<bool>* cancel = nullptr;
  std::unique_ptr<CURLM, MultiDeleter> multi;
  std::vector<Slot> slots;

  [[nodiscard]] bool Cancelled() const { return cancel != nullptr && cancel->load(std::memory_order_relaxed); }

  // Marks the downloads libcurl reports finished.
  void CollectFinished() {
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
      if (message->msg != CURLMSG_DONE) continue;
      for (Slot& slot : slots) {
        if (slot.transfer && slot.transfer->Handle() == message->easy_handle) {
          curl_multi_remove_handle(multi.get(), message->easy_handle);
          slot.done = true;
          break;
        }
      }
    }
  }

  void Drop(Slot& slot) {
    if (slot.transfer && !slot.done) curl_multi_remove_handle(multi.get(), slot.transfer->Handle());
    slot.done = true;
  }
};

FetchGroup::FetchGroup(const std::atomic<bool>* cancel) : state_(std::make_unique<State>()) {
  state_->cancel = cancel;
}

FetchGroup::~FetchGroup() {
  for (State::Slot& slot : state_->slots) state_->Drop(slot);
}

FetchGroup::Ticket FetchGroup::Start(const Text& address) {
  State& s = *state_;
  State::Slot slot;
  slot.transfer = detail::Transfer::Prepare(address, s.cancel);
  slot.done = slot.transfer == nullptr;
  if (slot.transfer) {
    if (!s.multi) {
      s.multi.reset(curl_multi_init());
      // HTTP/1.0 requests of their own: nothing is pipelined or multiplexed.
      if (s.multi) curl_multi_setopt(s.multi.get(), CURLMOPT_PIPELINING, static_cast<long>(CURLPIPE_NOTHING));
    }
    if (!s.multi || curl_multi_add_handle(s.multi.get(), slot.transfer->Handle()) != CURLM_OK) {
      slot.transfer.reset();
      slot.done = true;
    }
  }
  s.slots.push_back(std::move(slot));
  return s.slots.size() - 1;
}

Bytes FetchGroup::Take(Ticket ticket) {
  State& s = *state_;
  if (ticket >= s.slots.size()) return {};
  State::Slot& slot = s.slots[ticket];
  while (!slot.done) {
    if (s.Cancelled()) {
      s.Drop(slot);
      break;
    }
    int running = 0;
    if (curl_multi_perform(s.multi.get(), &running) != CURLM_OK) {
      s.Drop(slot);
      break;
    }
    s.CollectFinished();
    if (slot.done) break;
    if (curl_multi_poll(s.multi.get(), nullptr, 0, kPollMs, nullptr) != CURLM_OK) {
      s.Drop(slot);
      break;
    }
  }
  if (!slot.transfer) return {};
  Bytes body = slot.transfer->TakeBody();
  slot.transfer.reset();
  return body;
}

}  // namespace brenvik
