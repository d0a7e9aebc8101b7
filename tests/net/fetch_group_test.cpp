// Downloads side by side: each request exactly PageFetch's, each on a connection of its own,
// bodies back in their own slots, and a cancel that ends what is under way.
#include "net/fetch_group.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "net/page_fetch.h"
#include "tests/support/loopback_server.h"

namespace brenvik {
namespace {

using testing::LoopbackServer;
using testing::SendAnswer;

std::string AsString(const Bytes& b) { return std::string(b.begin(), b.end()); }

// Answers every request with its own target, so that a body shows which request it belongs to.
LoopbackServer::Handler EchoTarget() {
  return [](const std::string& head, int fd) {
    const std::size_t from = head.find(' ') + 1;
    SendAnswer(fd, 200, {{"Content-Type", "text/plain"}}, head.substr(from, head.find(' ', from) - from));
  };
}

TEST(FetchGroup, RequestsAreByteForBytePageFetchsOnConnectionsOfTheirOwn) {
  LoopbackServer server(EchoTarget());
  const Text address = server.Url("/upload/a.jpg?x=%41#frag");
  ASSERT_EQ(AsString(PageFetch(address)), "/upload/a.jpg?x=%41");

  FetchGroup group;
  const auto first = group.Start(address);
  const auto again = group.Start(address);  // the same address twice: two requests
  const auto other = group.Start(server.Url("/b"));
  EXPECT_EQ(AsString(group.Take(other)), "/b");
  EXPECT_EQ(AsString(group.Take(again)), "/upload/a.jpg?x=%41");
  EXPECT_EQ(AsString(group.Take(first)), "/upload/a.jpg?x=%41");
  EXPECT_TRUE(group.Take(first).empty());  // a ticket is taken once

  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 4u);
  for (std::size_t i = 1; i < 3; ++i) EXPECT_EQ(requests[i], requests[0]) << "request " << i;
  EXPECT_EQ(server.ConnectionCount(), 4);
}

TEST(FetchGroup, RefusedAddressesSendNothing) {
  LoopbackServer server(EchoTarget());
  FetchGroup group;
  const auto empty = group.Start("");
  const auto file = group.Start("file:///etc/passwd");
  const auto good = group.Start(server.Url("/ok"));
  EXPECT_TRUE(group.Take(empty).empty());
  EXPECT_TRUE(group.Take(file).empty());
  EXPECT_EQ(AsString(group.Take(good)), "/ok");
  EXPECT_EQ(server.ConnectionCount(), 1);
}

TEST(FetchGroup, CancelEndsDownloadsUnderWayAtOnce) {
  std::atomic<bool> release{false};
  LoopbackServer silent([&release](const std::string&, int) {
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  });
  std::atomic<bool> cancel{false};
  FetchGroup group(&cancel);
  const auto stuck = group.Start(silent.Url("/never"));
  std::thread canceller([&cancel] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    cancel = true;
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(group.Take(stuck).empty());
  const auto waited = std::chrono::steady_clock::now() - start;
  canceller.join();
  release = true;
  EXPECT_LT(waited, std::chrono::milliseconds(1000));  // the stall limit would be 15 s
}

}  // namespace
}  // namespace brenvik
