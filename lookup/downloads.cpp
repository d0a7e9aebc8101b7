#include "lookup/downloads.h"

#include "net/fetch_group.h"

namespace brenvik {

Downloads::Ticket SequentialDownloads::Start(const Text& address) {
  addresses_.push_back(address);
  return addresses_.size() - 1;
}

Bytes SequentialDownloads::Take(Ticket ticket) {
  if (ticket >= addresses_.size()) return {};
  const Text address = std::move(addresses_[ticket]);
  addresses_[ticket].clear();
  return fetch_(address);
}

NetworkDownloads::NetworkDownloads(const std::atomic<bool>* cancel)
    : group_(std::make_unique<FetchGroup>(cancel)) {}
NetworkDownloads::~NetworkDownloads() = default;

Downloads::Ticket NetworkDownloads::Start(const Text& address) { return group_->Start(address); }
Bytes NetworkDownloads::Take(Ticket ticket) { return group_->Take(ticket); }

}  // namespace brenvik
