#include "tests/support/loopback_server.h"

#include "tests/support/ports.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace brenvik::testing {
namespace {

// The request head: everything up to the blank line, or what came within a few seconds.
std::string ReadRequestHead(int fd) {
  std::string head;
  char buffer[4096];
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < (1u << 20)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  return head;
}

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

}  // namespace

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
  listenFd_ = ListenOnLoopback(&port_);
  if (::pipe2(wakeFds_, O_CLOEXEC) != 0) {
    ::close(listenFd_);
    throw std::runtime_error("pipe failed");
  }
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  const char stop = 's';
  (void)!::write(wakeFds_[1], &stop, 1);
  thread_.join();
  ::close(listenFd_);
  ::close(wakeFds_[0]);
  ::close(wakeFds_[1]);
}

std::string LoopbackServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> LoopbackServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void LoopbackServer::Serve() {
  for (;;) {
    pollfd p[2] = {{listenFd_, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
    if (::poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (p[1].revents != 0) return;
    if ((p[0].revents & POLLIN) == 0) continue;
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    ++connections_;
    const std::string head = ReadRequestHead(fd);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(head);
    }
    if (handler_) handler_(head, fd);
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
  }
}

bool SendAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string HttpAnswer(int status, const Headers& headers, std::string_view body) {
  std::string answer = "HTTP/1.0 " + std::to_string(status) + " " + Reason(status) + "\r\n";
  for (const auto& [name, value] : headers) answer += name + ": " + value + "\r\n";
  answer += "\r\n";
  answer.append(body);
  return answer;
}

bool SendAnswer(int fd, int status, const Headers& headers, std::string_view body) {
  return SendAll(fd, HttpAnswer(status, headers, body));
}

bool WaitForPeerClose(int fd, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  char buffer[512];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) return true;
  }
}

}  // namespace brenvik::testing
