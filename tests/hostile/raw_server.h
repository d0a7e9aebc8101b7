// A loopback server that misbehaves on purpose: each accepted connection is handed, with the
// request it sent, to a script that writes whatever bytes it likes, as slowly as it likes.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace brenvik::testing {

class RawServer {
 public:
  // `script` runs on the server's thread for every connection; `request` holds what arrived
  // up to the blank line (or less if the client sent less within a second).
  using Script = std::function<void(int socket, const std::string& request)>;

  explicit RawServer(Script script);
  ~RawServer();
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  int Port() const { return port_; }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  int Connections() const { return connections_.load(); }
  // Set when the server is being stopped, so that endless scripts end.
  bool Stopping() const { return stopping_.load(); }

  // Writes all of `bytes`; false once the peer has gone.
  static bool Send(int socket, const std::string& bytes);

 private:
  void Serve();

  Script script_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<int> connections_{0};
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace brenvik::testing
