// Servers that misbehave on purpose, through the real download: every call must return
// within its limit with what arrived, and reach nothing but loopback and http(s).
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "net/page_fetch.h"
#include "net/page_fetch_internal.h"
#include "tests/support/loopback_server.h"

namespace brenvik {
namespace {

using testing::LoopbackServer;
using testing::SendAll;
using Clock = std::chrono::steady_clock;

// Short limits for the length of one test, put back afterwards.
class HostileFetch : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = detail::CurrentFetchLimits();
    auto& limits = detail::CurrentFetchLimits();
    limits.stallTimeMs = 2000;
    limits.totalTimeoutMs = 4000;
    limits.bodyCap = 1u << 20;
  }
  void TearDown() override { detail::CurrentFetchLimits() = saved_; }

  static double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
  }

 private:
  detail::FetchLimits saved_;
};

const std::string kHeaders = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";

TEST_F(HostileFetch, AcceptsAndNeverAnswers) {
  LoopbackServer server([](const std::string&, int fd) { testing::WaitForPeerClose(fd, std::chrono::seconds(20)); });
  const auto start = Clock::now();
  EXPECT_TRUE(PageFetch(server.Url("/")).empty());
  EXPECT_LT(SecondsSince(start), 3.0);  // the stall limit, 2 s, not the total
}

TEST_F(HostileFetch, DripsSlowerThanAByteASecond) {
  LoopbackServer server([](const std::string&, int fd) {
    SendAll(fd, kHeaders + "a");
    for (int i = 0; i < 40; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      if (!SendAll(fd, "b")) return;
    }
  });
  const auto start = Clock::now();
  const Bytes body = PageFetch(server.Url("/"));
  EXPECT_LT(SecondsSince(start), 4.5);
  ASSERT_FALSE(body.empty());  // what arrived is kept
  EXPECT_EQ(body[0], 'a');
}

TEST_F(HostileFetch, DripsFastEnoughButNeverEnds) {
  LoopbackServer server([](const std::string&, int fd) {
    SendAll(fd, kHeaders);
    while (SendAll(fd, "xx")) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  });
  const auto start = Clock::now();
  const Bytes body = PageFetch(server.Url("/"));
  const double seconds = SecondsSince(start);
  EXPECT_GE(seconds, 3.5);  // the whole download is given up at the total limit, 4 s
  EXPECT_LT(seconds, 5.0);
  EXPECT_GT(body.size(), 20u);
}

TEST_F(HostileFetch, ResetMidBodyKeepsWhatArrived) {
  LoopbackServer server([](const std::string&, int fd) {
    SendAll(fd, "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(300, 'r'));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const linger reset{1, 0};  // close with a reset, not a clean end
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
  });
  EXPECT_EQ(PageFetch(server.Url("/")), Bytes(300, 'r'));
}

TEST_F(HostileFetch, HugeAnnouncedLengthWithAShortBody) {
  LoopbackServer server([](const std::string&, int fd) {
    SendAll(fd, "HTTP/1.0 200 OK\r\nContent-Length: 2147483648\r\n\r\nshort body");
  });
  EXPECT_EQ(PageFetch(server.Url("/")), (Bytes{'s', 'h', 'o', 'r', 't', ' ', 'b', 'o', 'd', 'y'}));
}

TEST_F(HostileFetch, EndlessBodyStopsAtTheCap) {
  LoopbackServer server([](const std::string&, int fd) {
    SendAll(fd, kHeaders);
    const std::string chunk(64 * 1024, 'z');
    while (SendAll(fd, chunk)) {
    }
  });
  const Bytes body = PageFetch(server.Url("/"));
  EXPECT_EQ(body.size(), detail::CurrentFetchLimits().bodyCap);
}

TEST_F(HostileFetch, RedirectLoopEnds) {
  LoopbackServer server([&](const std::string&, int fd) {
    SendAll(fd, "HTTP/1.0 302 Found\r\nLocation: " + server.Url("/again") + "\r\n\r\nloop");
  });
  EXPECT_TRUE(PageFetch(server.Url("/")).empty());
  EXPECT_LE(server.ConnectionCount(), 11);  // the first request and at most ten redirects
}

TEST_F(HostileFetch, RedirectsOffTheWebAreRefusedBeforeAnyConnection) {
  // 192.0.2.1 is a documentation address: the schemes are refused before it is ever tried,
  // so no packet leaves loopback.
  for (const char* target : {"file:///etc/passwd", "ftp://192.0.2.1/pub", "gopher://192.0.2.1/", "dict://192.0.2.1/",
                             "scp://192.0.2.1/x"}) {
    LoopbackServer server([&](const std::string&, int fd) {
      SendAll(fd, std::string("HTTP/1.0 301 Moved\r\nLocation: ") + target + "\r\n\r\nmoved");
    });
    const auto start = Clock::now();
    EXPECT_TRUE(PageFetch(server.Url("/")).empty()) << target;
    EXPECT_LT(SecondsSince(start), 1.0) << target;
    EXPECT_EQ(server.ConnectionCount(), 1) << target;
  }
  EXPECT_TRUE(PageFetch("file:///etc/passwd").empty());
  EXPECT_TRUE(PageFetch("ftp://127.0.0.1/").empty());
}

// After each kind of hostile server, in the same process: a normal download still works
// (no session state, limit or lock is left behind by the one before).
TEST_F(HostileFetch, NormalDownloadsWorkAfterEachKind) {
  const std::vector<std::pair<const char*, LoopbackServer::Handler>> hostile = {
      {"never answers", [](const std::string&, int fd) { testing::WaitForPeerClose(fd, std::chrono::seconds(20)); }},
      {"reset mid-body",
       [](const std::string&, int fd) {
         SendAll(fd, "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(300, 'r'));
         const linger reset{1, 0};
         ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
       }},
      {"endless body",
       [](const std::string&, int fd) {
         SendAll(fd, kHeaders);
         const std::string chunk(64 * 1024, 'z');
         while (SendAll(fd, chunk)) {
         }
       }},
  };
  detail::CurrentFetchLimits().stallTimeMs = 500;
  for (const auto& [what, handler] : hostile) {
    SCOPED_TRACE(what);
    {
      LoopbackServer server(handler);
      (void)PageFetch(server.Url("/"));
    }
    LoopbackServer normal([](const std::string&, int fd) { SendAll(fd, kHeaders + "fine"); });
    EXPECT_EQ(PageFetch(normal.Url("/")), (Bytes{'f', 'i', 'n', 'e'}));
  }
}

}  // namespace
}  // namespace brenvik
