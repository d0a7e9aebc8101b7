#include "app/query_runner.h"

#include "lookup/form_names.h"
#include "lookup/query_stages.h"

namespace brenvik {

QueryRunner::QueryRunner(Form& form, Site site, DownloadsFactory makeDownloads, QObject* parent)
    : QObject(parent), form_(form), site_(std::move(site)), makeDownloads_(std::move(makeDownloads)) {}

QueryRunner::~QueryRunner() {
  cancel_ = true;
  Join();
  // Whatever the workers posted is still in the event queue; ~QObject removes it.
}

void QueryRunner::Join() {
  if (queryWorker_.joinable()) queryWorker_.join();
  if (promoWorker_.joinable()) promoWorker_.join();
}

void QueryRunner::Cancel() {
  cancel_ = true;
  busy_ = false;
}

bool QueryRunner::StartQuery() {
  if (busy_ || cancel_) return false;
  busy_ = true;
  queried_ = true;
  if (queryWorker_.joinable()) queryWorker_.join();  // the last query's worker has posted and ended
  const QueryRequest request = BeginQuery(form_, site_);
  emit QueryStarted();
  queryWorker_ = std::thread([this, request] {
    auto downloads = makeDownloads_(&cancel_);
    auto result = std::make_unique<QueryResult>(FetchQuery(request, site_, *downloads));
    downloads.reset();
    {
      std::lock_guard<std::mutex> lock(handOver_);
      finishedQuery_ = std::move(result);
    }
    // By name: the call carries nothing that this thread would have to destroy.
    QMetaObject::invokeMethod(this, "DeliverQuery", Qt::QueuedConnection);
  });
  return true;
}

void QueryRunner::StartPromo() {
  if (promoWorker_.joinable() || cancel_) return;
  promoWorker_ = std::thread([this] {
    auto downloads = makeDownloads_(&cancel_);
    auto promo = std::make_unique<Bytes>(downloads->Take(downloads->Start(site_.promoUrl)));
    downloads.reset();
    {
      std::lock_guard<std::mutex> lock(handOver_);
      arrivedPromo_ = std::move(promo);
    }
    QMetaObject::invokeMethod(this, "DeliverPromo", Qt::QueuedConnection);
  });
}

void QueryRunner::DeliverQuery() {
  std::unique_ptr<QueryResult> result;
  {
    std::lock_guard<std::mutex> lock(handOver_);
    result = std::move(finishedQuery_);
  }
  if (result && !cancel_) ShowQuery(form_, *result);
  busy_ = false;
  emit QueryFinished();
}

void QueryRunner::DeliverPromo() {
  std::unique_ptr<Bytes> promo;
  {
    std::lock_guard<std::mutex> lock(handOver_);
    promo = std::move(arrivedPromo_);
  }
  if (!promo || cancel_ || queried_) return;  // never over a query's pictures
  form_.SetPicture(names::kAvatarBox, *promo);
  emit PromoShown();
}

}  // namespace brenvik
