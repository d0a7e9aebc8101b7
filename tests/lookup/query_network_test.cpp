// The query through the real download against a loopback server that logs every request.
#include <httplib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

#include "lookup/query.h"
#include "tests/support/recording_form.h"
#include "text/codepage.h"

namespace brenvik {
namespace {

class LoggingSite {
 public:
  LoggingSite() {
    // Logged before the answer goes out, so the log is complete when the query returns.
    server_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
      std::lock_guard<std::mutex> lock(mutex_);
      log_.push_back(req.target);
      return httplib::Server::HandlerResponse::Unhandled;
    });
    server_.Get("/playerDetail.php", [this](const httplib::Request& req, httplib::Response& res) {
      if (req.get_param_value("playerName") != "abc") {
        res.set_content("<html>no such player</html>", "text/html");
        return;
      }
      std::string page = "<a href=\"/\"><img src=\"" + Origin() + "/avatar.bmp\" /></a><em>12</em>";
      page += "<table><tr><td>a</td><td>1</td><td>50.0%</td><td>1</td><td>1</td><td>0:01</td></tr>";
      page += "<tr><td>b</td><td>2</td><td>50.0%</td><td>1</td><td>1</td><td>0:02</td></tr>";
      page += "<tr><td>c</td><td>3</td><td>50.0%</td><td>1</td><td>1</td><td>0:03</td></tr></table><table><tr>";
      for (int i = 16; i <= 21; ++i) page += "<td>-</td>";
      for (int g = 1; g <= 5; ++g) {
        page += "<td><img src=\"" + Origin() + "/icon" + std::to_string(g) + ".bmp\" /></td><td>win</td>"
                "<td><b>mode</b></td><td>2026-12-11 10:00</td>";
      }
      res.set_content(page + "</tr></table>", "text/html; charset=utf-8");
    });
    server_.Get(R"(/(avatar|icon\d)\.bmp)", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content("BM" + req.path, "image/bmp");
    });
    server_.Get("/promo.jpg", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("\xFF\xD8promo", "image/jpeg");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~LoggingSite() {
    server_.stop();
    thread_.join();
  }

  std::string Origin() const { return "http://127.0.0.1:" + std::to_string(port_); }
  Site AsSite() const { return Site{Origin(), Origin() + "/promo.jpg"}; }
  std::vector<std::string> Log() {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
  }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::mutex mutex_;
  std::vector<std::string> log_;
};

// The downloads overlap, so the log's order is the order of arrival: the same requests,
// the page's before every picture the page names.
void ExpectSameRequests(std::vector<std::string> log, std::vector<std::string> expected) {
  ASSERT_FALSE(log.empty());
  const auto page = std::find(log.begin(), log.end(), expected.front());
  ASSERT_NE(page, log.end());
  for (auto it = log.begin(); it != page; ++it) EXPECT_EQ(*it, "/promo.jpg") << "before the page";
  std::sort(log.begin(), log.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(log, expected);
}

TEST(QueryOverTheNetwork, FoundQueryMakesNineRequests) {
  LoggingSite site;
  testing::RecordingForm form;
  form.TypeName("abc");
  form.Select(1);  // 祖安(电信二)
  OnQueryClicked(form, site.AsSite());
  const std::vector<std::string> expected = {
      "/playerDetail.php?serverName=%E7%94%B5%E4%BF%A1%E4%BA%8C&playerName=%61%62%63",
      "/avatar.bmp", "/promo.jpg", "/icon1.bmp", "/icon2.bmp", "/icon3.bmp", "/icon4.bmp", "/icon5.bmp", "/icon1.bmp"};
  ExpectSameRequests(site.Log(), expected);
  EXPECT_EQ(form.Caption("标签7"), "win  mode 2026-12-11 ");
  EXPECT_EQ(form.Picture("图片框6"), (Bytes{'B', 'M', '/', 'i', 'c', 'o', 'n', '5', '.', 'b', 'm', 'p'}));
}

TEST(QueryOverTheNetwork, NotFoundQueryAsksForThePageAndThePromotionalPictureOnly) {
  LoggingSite site;
  testing::RecordingForm form;
  form.TypeName(Gbk("青石"));
  OnQueryClicked(form, site.AsSite());
  const std::vector<std::string> expected = {
      "/playerDetail.php?serverName=%E7%94%B5%E4%BF%A1%E4%B8%80&playerName=%E9%9D%92%E7%9F%B3", "/promo.jpg"};
  ExpectSameRequests(site.Log(), expected);
  EXPECT_EQ(form.Caption("标签3"), Gbk("\r\n\r\n    查无此人，请确认后再查找，谢谢！！！"));
}

}  // namespace
}  // namespace brenvik
