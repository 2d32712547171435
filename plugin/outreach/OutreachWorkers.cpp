#include "outreach/OutreachWorkers.h"

#include <cassert>
#include <utility>

namespace veltrace::outreach {

int parsePublishedVersion(std::wstring_view body, int previous) {
  const std::size_t at = body.find(kVersionMarker);
  if (at == std::wstring_view::npos) return previous;
  // The four characters after the marker; the number is their leading digits.
  const std::wstring_view digits = body.substr(at + kVersionMarker.size(), 4);
  int value = 0;
  std::size_t used = 0;
  while (used < digits.size() && digits[used] >= L'0' && digits[used] <= L'9') {
    value = value * 10 + (digits[used] - L'0');
    ++used;
  }
  return used == 0 ? previous : value;
}

OutreachWorkers::OutreachWorkers(PageFetcher fetch) : fetch_(std::move(fetch)) { assert(fetch_); }

OutreachWorkers::~OutreachWorkers() { waitForWorkers(); }

void OutreachWorkers::setCommandName(std::wstring name) {
  std::lock_guard lock(nameMutex_);
  commandName_ = std::move(name);
}

std::wstring OutreachWorkers::commandName() const {
  std::lock_guard lock(nameMutex_);
  return commandName_;
}

bool OutreachWorkers::startUsageReport(std::wstring baseAddress) {
  if (baseAddress.empty() || reportRunning_.load(std::memory_order_acquire)) return false;
  // A finished worker's thread object is still joinable: join it (at once) before reuse.
  if (reportThread_.joinable()) reportThread_.join();
  reportRunning_.store(true, std::memory_order_release);
  reportThread_ = std::thread(&OutreachWorkers::runUsageReport, this, std::move(baseAddress));
  return true;
}

bool OutreachWorkers::startVersionQuery(std::wstring pageAddress) {
  if (pageAddress.empty() || versionRunning_.load(std::memory_order_acquire)) return false;
  if (versionThread_.joinable()) versionThread_.join();
  versionRunning_.store(true, std::memory_order_release);
  versionThread_ = std::thread(&OutreachWorkers::runVersionQuery, this, std::move(pageAddress));
  return true;
}

void OutreachWorkers::waitForWorkers() {
  if (reportThread_.joinable()) reportThread_.join();
  if (versionThread_.joinable()) versionThread_.join();
}

void OutreachWorkers::runUsageReport(std::wstring baseAddress) {
  // The name is taken when the address is built, not when the worker was asked for: a report
  // tells the command current at that moment. It is sent as it is (usage names are plain
  // identifiers, nothing to escape).
  const std::wstring address = std::move(baseAddress) + commandName();
  (void)fetch_(address);
  reportRunning_.store(false, std::memory_order_release);
}

void OutreachWorkers::runVersionQuery(std::wstring pageAddress) {
  const std::wstring body = fetch_(pageAddress);
  // Only this worker writes the version, and only one runs at a time.
  publishedVersion_.store(parsePublishedVersion(body, publishedVersion_.load(std::memory_order_relaxed)),
                          std::memory_order_release);
  versionRunning_.store(false, std::memory_order_release);
}

}  // namespace veltrace::outreach
