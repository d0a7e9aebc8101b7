// Origins from the command line and the environment: what counts as an origin, and which
// source wins.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "lookup/site.h"

namespace brenvik {
namespace {

TEST(ParseOrigin, GoodOriginsComeBackWithoutTheFinalSlash) {
  const struct {
    const char* text;
    const char* origin;
  } good[] = {
      {"http://stats.test", "http://stats.test"},
      {"http://stats.test/", "http://stats.test"},
      {"https://stats.test:8443", "https://stats.test:8443"},
      {"http://127.0.0.1:8086/", "http://127.0.0.1:8086"},
      {"HTTP://Stats.Test:1", "http://Stats.Test:1"},
      {"HttpS://a", "https://a"},
      {"http://my_host-1.example.org:65535", "http://my_host-1.example.org:65535"},
      {"http://[::1]:8080/", "http://[::1]:8080"},
      {"http://[2001:db8::7]", "http://[2001:db8::7]"},
      {"http://[::ffff:127.0.0.1]", "http://[::ffff:127.0.0.1]"},
  };
  for (const auto& row : good) {
    EXPECT_EQ(ParseOrigin(row.text), std::optional<Text>(row.origin)) << row.text;
  }
}

TEST(ParseOrigin, AnythingElseIsRefused) {
  const char* bad[] = {
      "",
      "stats.test",
      "//stats.test",
      "ftp://stats.test",
      "http:/stats.test",
      "http://",
      "http:///",
      "http://stats.test//",
      "http://stats.test/playerDetail.php",
      "http://stats.test?x=1",
      "http://stats.test#top",
      "http://user@stats.test",
      "http://stats.test:",
      "http://stats.test:0",
      "http://stats.test:65536",
      "http://stats.test:123456",
      "http://stats.test:-1",
      "http://stats.test:8o",
      "http://stats.test:80:81",
      "http://stats..test",
      "http://.stats.test",
      "http://stats.test.",
      "http://stats test",
      " http://stats.test",
      "http://stats.test ",
      "http://stats.test\n",
      "http://::1",
      "http://[]",
      "http://[::1",
      "http://[stats.test]",
      "http://[::1]x",
      "http://统计.test",
  };
  for (const char* text : bad) {
    EXPECT_EQ(ParseOrigin(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(DefaultSite, IsTheSampleSiteOnItsDefaultPortAndParses) {
  EXPECT_EQ(DefaultOrigin(), "http://127.0.0.1:" + std::to_string(kSampleSitePort));
  EXPECT_EQ(ParseOrigin(DefaultOrigin()), std::optional<Text>(DefaultOrigin()));
  const Site site = DefaultSite();
  EXPECT_EQ(site.statsOrigin, DefaultOrigin());
  EXPECT_EQ(site.promoUrl, DefaultOrigin() + kPromoPath);
}

// An environment made of a map; a name it lacks is not set.
Environment Env(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const char* name) -> const char* {
    const auto it = variables.find(name);
    return it == variables.end() ? nullptr : it->second.c_str();
  };
}

TEST(ChooseSite, OptionBeatsEnvironmentBeatsDefault) {
  const std::string d = DefaultOrigin();
  const struct {
    const char* what;
    OriginOptions options;
    std::map<std::string, std::string> env;
    std::string stats, image;
  } rows[] = {
      {"nothing given", {}, {}, d, d},
      {"environment only", {}, {{"BRENVIK_STATS_ORIGIN", "http://s.env"}, {"BRENVIK_IMAGE_ORIGIN", "http://i.env/"}},
       "http://s.env", "http://i.env"},
      {"options only", {.statsOrigin = "http://s.opt", .imageOrigin = "https://i.opt:9"}, {}, "http://s.opt",
       "https://i.opt:9"},
      {"option over environment",
       {.statsOrigin = "http://s.opt"},
       {{"BRENVIK_STATS_ORIGIN", "http://s.env"}, {"BRENVIK_IMAGE_ORIGIN", "http://i.env"}},
       "http://s.opt", "http://i.env"},
      {"an empty variable is not set", {}, {{"BRENVIK_STATS_ORIGIN", ""}}, d, d},
      {"a good option hides a bad variable", {.imageOrigin = "http://i.opt"}, {{"BRENVIK_IMAGE_ORIGIN", "nonsense"}},
       d, "http://i.opt"},
  };
  for (const auto& row : rows) {
    const SiteChoice choice = ChooseSite(row.options, Env(row.env));
    ASSERT_TRUE(choice.site) << row.what << ": " << choice.error;
    EXPECT_EQ(choice.site->statsOrigin, row.stats) << row.what;
    EXPECT_EQ(choice.site->promoUrl, row.image + kPromoPath) << row.what;
    EXPECT_EQ(choice.error, "") << row.what;
  }
}

TEST(ChooseSite, ABadValueIsNamedWithWhereItCameFrom) {
  const std::string tail = ": an origin is http:// or https://, a host and an optional port";
  const struct {
    OriginOptions options;
    std::map<std::string, std::string> env;
    std::string error;
  } rows[] = {
      {{.statsOrigin = "ftp://x"}, {}, "bad --stats-origin \"ftp://x\"" + tail},
      {{.statsOrigin = ""}, {}, "bad --stats-origin \"\"" + tail},
      {{.imageOrigin = "http://i.test/promo.jpg"}, {}, "bad --image-origin \"http://i.test/promo.jpg\"" + tail},
      {{}, {{"BRENVIK_STATS_ORIGIN", "localhost:8080"}}, "bad BRENVIK_STATS_ORIGIN \"localhost:8080\"" + tail},
      {{}, {{"BRENVIK_IMAGE_ORIGIN", "http://a\nb"}}, "bad BRENVIK_IMAGE_ORIGIN \"http://a\\x0Ab\"" + tail},
      {{.statsOrigin = "bad", .imageOrigin = "worse"}, {}, "bad --stats-origin \"bad\"" + tail},
  };
  for (const auto& row : rows) {
    const SiteChoice choice = ChooseSite(row.options, Env(row.env));
    EXPECT_FALSE(choice.site) << row.error;
    EXPECT_EQ(choice.error, row.error);
  }
}

}  // namespace
}  // namespace brenvik
