#include "app/query_runner.h"

#include <QPointer>

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
  QPointer<QueryRunner> self(this);
  queryWorker_ = std::thread([this, self, request] {
    auto downloads = makeDownloads_(&cancel_);
    auto result = std::make_shared<QueryResult>(FetchQuery(request, site_, *downloads));
    downloads.reset();
    QMetaObject::invokeMethod(
        this,
        [self, result] {
          if (!self) return;
          const bool cancelled = self->cancel_;
          if (!cancelled) ShowQuery(self->form_, *result);
          self->busy_ = false;
          emit self->QueryFinished();
        },
        Qt::QueuedConnection);
  });
  return true;
}

void QueryRunner::StartPromo() {
  if (promoWorker_.joinable() || cancel_) return;
  QPointer<QueryRunner> self(this);
  promoWorker_ = std::thread([this, self] {
    auto downloads = makeDownloads_(&cancel_);
    auto promo = std::make_shared<Bytes>(downloads->Take(downloads->Start(site_.promoUrl)));
    downloads.reset();
    QMetaObject::invokeMethod(
        this,
        [self, promo] {
          if (!self || self->cancel_ || self->queried_) return;  // never over a query's pictures
          self->form_.SetPicture(names::kAvatarBox, *promo);
          emit self->PromoShown();
        },
        Qt::QueuedConnection);
  });
}

}  // namespace brenvik
