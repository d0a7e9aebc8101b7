// Several downloads at once on the calling thread, over libcurl's multi interface. Each
// request is exactly the one PageFetch makes (HTTP/1.0, the same headers and limits, a
// connection of its own); the group only lets them overlap.
//
// A FetchGroup belongs to the thread that made it: Start and Take are called there. Another
// thread may set the cancel flag; the group then abandons every download still under way
// within a few tens of milliseconds, and Take gives what had arrived.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

#include "text/text.h"

namespace brenvik {

class FetchGroup {
 public:
  using Ticket = std::size_t;

  explicit FetchGroup(const std::atomic<bool>* cancel = nullptr);
  ~FetchGroup();
  FetchGroup(const FetchGroup&) = delete;
  FetchGroup& operator=(const FetchGroup&) = delete;

  // Sends the request for `address` (once the group runs, at the latest in the next Take).
  // An address PageFetch would refuse sends nothing: its body is empty.
  Ticket Start(const Text& address);
  // The body of a started download, driving every download of the group until that one is
  // done; each ticket is taken once (a second Take gives empty Bytes).
  Bytes Take(Ticket ticket);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace brenvik
