// Runs the window's queries without making it wait for the network. A query's request is
// read and every result written on the GUI thread, in the handler's order; its downloads and
// the cutting of the page run on a worker thread of the runner's, which touches no widget.
//
// Threads: every member function is called on the GUI thread (the thread that made the
// runner). A worker leaves its result under a mutex and posts a queued call to the runner;
// a runner that is destroyed first cancels the worker, waits for it, and drops what it had
// posted, so no write reaches a form that is gone.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include <QObject>

#include "lookup/downloads.h"
#include "lookup/form.h"
#include "lookup/query_stages.h"
#include "lookup/site.h"

namespace brenvik {

class QueryRunner : public QObject {
  Q_OBJECT

 public:
  // Makes the downloads of one query, on the worker; `cancel` is the runner's flag.
  using DownloadsFactory = std::function<std::unique_ptr<Downloads>(const std::atomic<bool>* cancel)>;

  QueryRunner(Form& form, Site site, DownloadsFactory makeDownloads, QObject* parent = nullptr);
  ~QueryRunner() override;

  // Starts a query unless one is running; false when one is.
  bool StartQuery();
  [[nodiscard]] bool Busy() const { return busy_; }
  // Downloads the promotional picture into the avatar box, unless a query starts before it
  // arrives.
  void StartPromo();
  // Abandons whatever is under way, for good (the window is closing): nothing more is
  // written into the form and no query starts.
  void Cancel();

 signals:
  void QueryStarted();
  // The query's writes are done (or it was cancelled).
  void QueryFinished();
  void PromoShown();

 private:
  void Join();
  // Called on the GUI thread once a worker has left its result.
  Q_INVOKABLE void DeliverQuery();
  Q_INVOKABLE void DeliverPromo();

  Form& form_;
  Site site_;
  DownloadsFactory makeDownloads_;
  std::atomic<bool> cancel_{false};
  bool busy_ = false;
  bool queried_ = false;  // a query has started: the promotional picture is no longer wanted
  // What a worker leaves for the GUI thread, handed over under the mutex; the queued call
  // that follows only says that it is there.
  std::mutex handOver_;
  std::unique_ptr<QueryResult> finishedQuery_;
  std::unique_ptr<Bytes> arrivedPromo_;
  std::thread queryWorker_;
  std::thread promoWorker_;
};

}  // namespace brenvik
