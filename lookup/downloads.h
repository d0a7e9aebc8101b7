// How a query reaches the sites: downloads asked for first and collected later, so that a
// transport may run them side by side. Each started address is one request of its own, even
// when the same address was started before.
#pragma once

#include <cstddef>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "text/text.h"

namespace brenvik {

class FetchGroup;

class Downloads {
 public:
  using Ticket = std::size_t;

  virtual ~Downloads() = default;
  // Asks for `address`. An empty address is no request: its body is empty.
  virtual Ticket Start(const Text& address) = 0;
  // The body of a started download, waiting for it if need be; each ticket is taken once.
  virtual Bytes Take(Ticket ticket) = 0;
};

// One download at a time, made when its body is taken: the requests go out in the order the
// bodies are taken, each address handed to `fetch` as it is (an empty one too). For tests,
// fuzzers and benchmarks that answer from memory.
class SequentialDownloads final : public Downloads {
 public:
  using Fetch = std::function<Bytes(const Text& address)>;
  explicit SequentialDownloads(Fetch fetch) : fetch_(std::move(fetch)) {}

  Ticket Start(const Text& address) override;
  Bytes Take(Ticket ticket) override;

 private:
  Fetch fetch_;
  std::vector<Text> addresses_;
};

// The real downloads, side by side on the calling thread (libcurl's multi interface); every
// request exactly PageFetch's. Setting `cancel` from any thread abandons what is under way.
class NetworkDownloads final : public Downloads {
 public:
  explicit NetworkDownloads(const std::atomic<bool>* cancel = nullptr);
  ~NetworkDownloads() override;

  Ticket Start(const Text& address) override;
  Bytes Take(Ticket ticket) override;

 private:
  std::unique_ptr<FetchGroup> group_;
};

}  // namespace brenvik
