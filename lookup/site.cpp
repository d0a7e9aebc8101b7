#include "lookup/site.h"

#ifndef BRENVIK_STATS_ORIGIN
#define BRENVIK_STATS_ORIGIN "http://127.0.0.1:18086"
#endif
#ifndef BRENVIK_IMAGE_ORIGIN
#define BRENVIK_IMAGE_ORIGIN "http://127.0.0.1:18086"
#endif

namespace brenvik {

Site DefaultSite() {
  return Site{BRENVIK_STATS_ORIGIN, ConcatText(Text(BRENVIK_IMAGE_ORIGIN), kPromoPath)};
}

}  // namespace brenvik
