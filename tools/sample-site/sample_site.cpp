#include "tools/sample-site/sample_site.h"

#include <httplib.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "lookup/site.h"
#include "tools/sample-site/pages.h"
#include "tools/sample-site/pictures.h"

namespace sample {
namespace {

struct Picture {
  std::string bytes;
  const char* type;
};

std::map<std::string, Picture> MakePictures() {
  std::map<std::string, Picture> p;
  p["avatar-qingshi.jpg"] = {Jpeg(96, 96, Rgb{236, 226, 198}, Rgb{40, 120, 90}), "image/jpeg"};
  p["avatar-jifeng.gif"] = {AnimatedGif(64, Rgb{30, 40, 70}, Rgb{120, 200, 255}, 8, 12), "image/gif"};
  p["avatar-xiaobing.bmp"] = {Bmp(60, 60, Rgb{250, 240, 220}, Rgb{200, 90, 40}), "image/bmp"};
  p["hero-yasuo.jpg"] = {Jpeg(24, 24, Rgb{60, 80, 140}, Rgb{220, 220, 240}), "image/jpeg"};
  p["hero-ahri.gif"] = {AnimatedGif(24, Rgb{120, 40, 90}, Rgb{255, 200, 230}, 6, 15), "image/gif"};
  p["hero-ashe.bmp"] = {Bmp(24, 24, Rgb{170, 210, 240}, Rgb{30, 90, 170}), "image/bmp"};
  p["hero-garen.ico"] = {Ico(24, Rgb{200, 170, 60}, Rgb{90, 60, 20}), "image/x-icon"};
  p["hero-annie.pcx"] = {Pcx8(24, 24, Rgb{90, 20, 20}, Rgb{255, 140, 40}), "image/x-pcx"};
  return p;
}

}  // namespace

struct SampleSite::Impl {
  explicit Impl(int latencyMs) : latencyMs(latencyMs) {}

  // The routes; the pictures are drawn once, the first time the site starts.
  void Route() {
    // A query asks for its pictures side by side: a worker for each, and room for all of them
    // in the accept queue. Debian builds cpp-httplib as a shared library whose accept queue
    // holds 5 connections (the ones dropped cost a second's retransmission) and whose pool
    // has a worker per core; macros here cannot change that. The pool is set through
    // new_task_queue, and the queue made longer by listening again on the bound socket.
    server.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    server.set_socket_options([this](socket_t sock) {
      const int yes = 1;
      ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
      listening = sock;
    });
    pictures = MakePictures();
    promo = Jpeg(300, 300, Rgb{200, 30, 40}, Rgb{250, 210, 60}, 80);
    server.set_pre_routing_handler([this](const httplib::Request&, httplib::Response&) {
      if (latencyMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(latencyMs));
      return httplib::Server::HandlerResponse::Unhandled;
    });
    server.Get("/playerDetail.php", [this](const httplib::Request& req, httplib::Response& res) {
      res.set_content(DetailPage(req.get_param_value("serverName"), req.get_param_value("playerName"), origin),
                      "text/html; charset=utf-8");
    });
    server.Get(R"(/pictures/([A-Za-z0-9.\-]+))", [this](const httplib::Request& req, httplib::Response& res) {
      const auto it = pictures.find(req.matches[1]);
      if (it == pictures.end()) {
        res.status = 404;
        res.set_content("<html><body>404 Not Found</body></html>", "text/html");
        return;
      }
      res.set_content(it->second.bytes, it->second.type);
    });
    server.Get(brenvik::kPromoPath,
               [this](const httplib::Request&, httplib::Response& res) { res.set_content(promo, "image/jpeg"); });
  }

  static constexpr int kWorkers = 16;
  static constexpr int kBacklog = 128;

  const int latencyMs;
  httplib::Server server;
  socket_t listening = -1;  // the socket bound last
  std::map<std::string, Picture> pictures;
  std::string promo;
  bool routed = false;
  int port = 0;
  std::string origin;  // set before the thread starts, read by it
  std::atomic<bool> served{false};  // the thread's serving has ended
  std::thread thread;
};

SampleSite::SampleSite(int latencyMs) : impl_(std::make_unique<Impl>(latencyMs)) {}

SampleSite::~SampleSite() { Stop(); }

bool SampleSite::Start(int port) {
  Impl& s = *impl_;
  if (s.thread.joinable() || port < 0 || port > 65535) return false;
  if (!s.routed) {
    s.Route();
    s.routed = true;
  }
  if (port == 0) {
    port = s.server.bind_to_any_port("127.0.0.1");
    if (port <= 0) return false;
  } else if (!s.server.bind_to_port("127.0.0.1", port)) {
    return false;
  }
  // Bound means listening: connections wait in the backlog until the thread accepts them.
  if (::listen(s.listening, Impl::kBacklog) != 0) return false;
  s.port = port;
  s.origin = "http://127.0.0.1:" + std::to_string(port);
  s.served = false;
  s.thread = std::thread([&s] {
    s.server.listen_after_bind();
    s.served = true;
  });
  // stop() only ends a server that runs already, so Stop() must not come before this.
  while (!s.server.is_running() && !s.served) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (s.served) {
    s.thread.join();
    s.port = 0;
    return false;
  }
  return true;
}

int SampleSite::Port() const { return impl_->thread.joinable() ? impl_->port : 0; }

std::string SampleSite::Origin() const { return "http://127.0.0.1:" + std::to_string(Port()); }

void SampleSite::Stop() {
  Impl& s = *impl_;
  if (!s.thread.joinable()) return;
  s.server.stop();
  s.thread.join();
  s.port = 0;
}

}  // namespace sample
