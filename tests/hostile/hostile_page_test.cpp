// The whole query on pages made to hurt: it finishes in bounded time and shows what the
// rules give. The bounds here only catch hangs; the timings themselves are benchmarks.
#include <gtest/gtest.h>

#include <chrono>

#include "lookup/query_internal.h"
#include "tests/support/recording_form.h"
#include "text/codepage.h"

namespace brenvik {
namespace {

using Clock = std::chrono::steady_clock;
const Site kSite{"http://stats.test", "http://img.test/promo.jpg"};

// Runs the query with `page` as the detail page and every picture empty; gives the form.
testing::RecordingForm QueryOn(const std::string& page, double* seconds) {
  testing::RecordingForm form;
  const Bytes body(page.begin(), page.end());
  const auto start = Clock::now();
  detail::RunQuery(form, kSite, [&](const Text& address) -> Bytes {
    return address.rfind("http://stats.test/", 0) == 0 ? body : Bytes();
  });
  *seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return form;
}

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

// The profile label turned dark red: the page counted as a found player.
bool FoundShown(const testing::RecordingForm& form) { return form.Colour("标签3") == 128; }

const Text& NotFound() {
  static const Text text = Gbk("\r\n\r\n    查无此人，请确认后再查找，谢谢！！！");
  return text;
}

TEST(HostilePage, StartMarkersWithoutEnd) {
  double seconds = 0;
  const auto form = QueryOn("<em>1</em>" + Repeat("<td>" + std::string(46, 'x'), 20000), &seconds);
  EXPECT_LT(seconds, 5.0);
  EXPECT_EQ(form.Caption("标签5"), "");  // no cells: no statistics
  EXPECT_TRUE(FoundShown(form));
}

TEST(HostilePage, TenMegabytesOfCells) {
  double seconds = 0;
  const auto form = QueryOn("<em>9</em>" + Repeat("<td>cell</td>", 10u * 1024 * 1024 / 13), &seconds);
  EXPECT_LT(seconds, 10.0);
  EXPECT_EQ(form.Caption("标签7"), "cell  " + Text(" ") + "cell");  // the line cells hold no tags
}

TEST(HostilePage, PercentSignsInvalidUtf8AndMarkersAtTheEnd) {
  const std::string pages[] = {
      std::string(1 << 20, '%'),
      Repeat("\xFF\xFE\xC0\x80\xED\xA0\x80", 100000),
      "<td>a</td><em>",
      "\"><img src=\"",
      "<p><em><span title=",
  };
  for (const auto& page : pages) {
    double seconds = 0;
    const auto form = QueryOn(page, &seconds);
    EXPECT_LT(seconds, 5.0);
    EXPECT_EQ(form.Caption("标签3"), NotFound());
  }
}

TEST(HostilePage, AHundredThousandCells) {
  double seconds = 0;
  const auto form = QueryOn("<em>3</em>" + Repeat("<td>7</td>", 100000), &seconds);
  EXPECT_LT(seconds, 5.0);
  EXPECT_EQ(form.Caption("标签7"), "7  " + Text(" ") + "7");
  EXPECT_EQ(form.Caption("标签11"), "7   7");
}

TEST(HostilePage, VeryLongAvatarAddress) {
  testing::RecordingForm form;
  const std::string longUrl = "http://img.test/" + std::string(5000, 'a');
  const std::string page = "<a href=\"/\"><img src=\"" + longUrl + "\" /></a><em>5</em>";
  Text asked;
  detail::RunQuery(form, kSite, [&](const Text& address) -> Bytes {
    if (address.rfind("http://stats.test/", 0) == 0) return Bytes(page.begin(), page.end());
    if (address.size() > 1000) asked = address;
    return {};
  });
  EXPECT_EQ(asked, longUrl);  // handed on whole; the download itself refuses it (too long)
  EXPECT_TRUE(FoundShown(form));
}

}  // namespace
}  // namespace brenvik
