// A small HTTP test server on 127.0.0.1 that sees the exact request bytes and answers with
// whatever bytes the test writes, for tests of anything that downloads.
//
//   brenvik::testing::LoopbackServer server([](const std::string& head, int fd) {
//     brenvik::testing::SendAnswer(fd, 200, {{"Content-Type", "text/html"}}, "hello");
//   });
//   Bytes body = PageFetch(server.Url("/page?x=1"));
//   server.Requests()  // every request head received, byte for byte
//
// It listens on an ephemeral port of 127.0.0.1 only and serves connections one at a time,
// in the order they arrive, on a thread of its own: a handler that stalls holds up the
// connections after it, and a handler needs no locks for state it keeps between
// connections. The connection is closed when the handler returns. The destructor stops
// the server after the running handler (if any) has returned.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/ports.h"

namespace brenvik::testing {

using Headers = std::vector<std::pair<std::string, std::string>>;

class LoopbackServer {
 public:
  // Called for every connection with its request head (up to and including the blank line,
  // or what arrived within a few seconds) and the connected socket to write the answer to.
  using Handler = std::function<void(const std::string& head, int fd)>;

  explicit LoopbackServer(Handler handler);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string Url(std::string_view path = "/") const;
  // The request head of every connection so far, in order.
  std::vector<std::string> Requests() const;
  // Connections accepted so far, whether or not they sent anything.
  int ConnectionCount() const { return connections_.load(); }

 private:
  void Serve();

  Handler handler_;
  int listenFd_ = -1;
  int wakeFds_[2] = {-1, -1};
  int port_ = 0;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::atomic<int> connections_{0};
  std::thread thread_;
};

// Writes all of `data`; false when the peer has gone (no SIGPIPE).
bool SendAll(int fd, std::string_view data);
// "HTTP/1.0 <status> <reason>\r\n", the headers in order, a blank line, the body. No header
// is added: a Content-Length is sent only when `headers` holds one.
std::string HttpAnswer(int status, const Headers& headers, std::string_view body);
bool SendAnswer(int fd, int status, const Headers& headers, std::string_view body);
// Waits until the peer closes the connection (true) or `limit` passes (false); bytes the
// peer sends meanwhile are dropped.
bool WaitForPeerClose(int fd, std::chrono::milliseconds limit);

}  // namespace brenvik::testing
