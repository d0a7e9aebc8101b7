#include "lookup/query.h"

#include "lookup/query_internal.h"
#include "lookup/query_stages.h"

namespace brenvik {
namespace detail {

void RunQuery(Form& form, const Site& site, Downloads& downloads) {
  const QueryRequest request = BeginQuery(form, site);
  ShowQuery(form, FetchQuery(request, site, downloads));
}

void RunQuery(Form& form, const Site& site, const Fetcher& fetch) {
  SequentialDownloads downloads(fetch);
  RunQuery(form, site, downloads);
}

}  // namespace detail

void OnQueryClicked(Form& form, const Site& site) {
  NetworkDownloads downloads;
  detail::RunQuery(form, site, downloads);
}

}  // namespace brenvik
