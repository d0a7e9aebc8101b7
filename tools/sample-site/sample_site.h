// The sample site: a small HTTP server on 127.0.0.1 that stands in for both outside hosts of
// the tool, the statistics site and the image server, on a thread of its own. The sample
// site program, the window's --demo and brenvik-lookup's --demo all run this one.
//
// /playerDetail.php?serverName=...&playerName=...   a detail page (UTF-8), or a not-found page
// /pictures/<name>                                   avatars and hero icons
// kPromoPath (lookup/site.h)                         the promotional picture
//
// It knows three players, 青石过客R2, 疾风之影 and 新来的小兵, on every server.
#pragma once

#include <memory>
#include <string>

namespace sample {

class SampleSite {
 public:
  // `latencyMs` holds every answer back that long, to stand in for a slow site.
  explicit SampleSite(int latencyMs = 0);
  // Stops the site.
  ~SampleSite();
  SampleSite(const SampleSite&) = delete;
  SampleSite& operator=(const SampleSite&) = delete;

  // Listens on 127.0.0.1:`port` (0: a free port the system picks) and serves on a thread of
  // its own; when it returns true, connections are accepted. False when the port cannot be
  // had or the site runs already.
  bool Start(int port = 0);
  // The port it listens on; 0 when it does not run.
  [[nodiscard]] int Port() const;
  // "http://127.0.0.1:<port>", the origin of both hosts.
  [[nodiscard]] std::string Origin() const;
  // Stops listening, lets the answers under way finish and waits for the thread. Harmless
  // when the site does not run.
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sample
