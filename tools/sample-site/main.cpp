// brenvik-sample-site: a small HTTP server on 127.0.0.1 that stands in for both outside
// hosts of the tool, the statistics site and the image server.
//
//   brenvik-sample-site [--port N] [--latency-ms N]
//
// /playerDetail.php?serverName=...&playerName=...   a detail page (UTF-8), or a not-found page
// /pictures/<name>                                   avatars and hero icons
// /upload/adw/image/201402/1393476941256428541.jpg   the promotional picture
#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>

#include <sys/socket.h>

#include "tools/sample-site/pages.h"
#include "tools/sample-site/pictures.h"

namespace {

struct Picture {
  std::string bytes;
  const char* type;
};

std::map<std::string, Picture> MakePictures() {
  using sample::Rgb;
  std::map<std::string, Picture> p;
  p["avatar-qingshi.jpg"] = {sample::Jpeg(96, 96, Rgb{236, 226, 198}, Rgb{40, 120, 90}), "image/jpeg"};
  p["avatar-jifeng.gif"] = {sample::AnimatedGif(64, Rgb{30, 40, 70}, Rgb{120, 200, 255}, 8, 12), "image/gif"};
  p["avatar-xiaobing.bmp"] = {sample::Bmp(60, 60, Rgb{250, 240, 220}, Rgb{200, 90, 40}), "image/bmp"};
  p["hero-yasuo.jpg"] = {sample::Jpeg(24, 24, Rgb{60, 80, 140}, Rgb{220, 220, 240}), "image/jpeg"};
  p["hero-ahri.gif"] = {sample::AnimatedGif(24, Rgb{120, 40, 90}, Rgb{255, 200, 230}, 6, 15), "image/gif"};
  p["hero-ashe.bmp"] = {sample::Bmp(24, 24, Rgb{170, 210, 240}, Rgb{30, 90, 170}), "image/bmp"};
  p["hero-garen.ico"] = {sample::Ico(24, Rgb{200, 170, 60}, Rgb{90, 60, 20}), "image/x-icon"};
  p["hero-annie.pcx"] = {sample::Pcx8(24, 24, Rgb{90, 20, 20}, Rgb{255, 140, 40}), "image/x-pcx"};
  return p;
}

int Flag(int argc, char** argv, const std::string& name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (argv[i] == name) return std::atoi(argv[i + 1]);
  }
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int port = Flag(argc, argv, "--port", 18086);
  const int latencyMs = Flag(argc, argv, "--latency-ms", 0);
  if (port < 1 || port > 65535 || latencyMs < 0) {
    std::fprintf(stderr, "usage: brenvik-sample-site [--port 1-65535] [--latency-ms N>=0]\n");
    return 2;
  }
  const std::map<std::string, Picture> pictures = MakePictures();
  const std::string promo = sample::Jpeg(300, 300, sample::Rgb{200, 30, 40}, sample::Rgb{250, 210, 60}, 80);

  httplib::Server server;
  // A query asks for its pictures side by side. Debian's httplib is a built library whose
  // accept queue holds 5 connections, too few for a query's seven at once: the ones dropped
  // cost a second's retransmission. The queue is made longer once the socket listens, and
  // each connection gets a worker.
  int listeningSocket = -1;
  server.set_socket_options([&listeningSocket](socket_t sock) {
    int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    listeningSocket = sock;
  });
  server.new_task_queue = [] { return new httplib::ThreadPool(16); };
  server.set_pre_routing_handler([latencyMs](const httplib::Request&, httplib::Response&) {
    if (latencyMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(latencyMs));
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server.Get("/playerDetail.php", [port](const httplib::Request& req, httplib::Response& res) {
    const std::string origin = "http://127.0.0.1:" + std::to_string(port);
    res.set_content(sample::DetailPage(req.get_param_value("serverName"), req.get_param_value("playerName"), origin),
                    "text/html; charset=utf-8");
  });
  server.Get(R"(/pictures/([A-Za-z0-9.\-]+))", [&pictures](const httplib::Request& req, httplib::Response& res) {
    const auto it = pictures.find(req.matches[1]);
    if (it == pictures.end()) {
      res.status = 404;
      res.set_content("<html><body>404 Not Found</body></html>", "text/html");
      return;
    }
    res.set_content(it->second.bytes, it->second.type);
  });
  server.Get("/upload/adw/image/201402/1393476941256428541.jpg",
             [&promo](const httplib::Request&, httplib::Response& res) { res.set_content(promo, "image/jpeg"); });

  std::printf("sample site on http://127.0.0.1:%d/\n", port);
  std::fflush(stdout);
  if (!server.bind_to_port("127.0.0.1", port) || ::listen(listeningSocket, 128) != 0) {
    std::fprintf(stderr, "brenvik-sample-site: cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  return server.listen_after_bind() ? 0 : 1;
}
