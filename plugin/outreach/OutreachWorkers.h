#pragma once
// The two background workers of the outreach: the usage report (which command was used) and
// the version query (which release is published). They share with the command thread only the
// name of the command that ran its prologue last and the published version; both hand-overs
// are synchronised here, so a worker never reads a half-replaced name.
//
// This file knows nothing of the host: the page fetch is handed in, so the hand-overs can be
// checked on their own (the thread-sanitizer test builds just this file).
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace veltrace::outreach {

// Fetches one page: its body, or the empty text for any failure.
using PageFetcher = std::function<std::wstring(const std::wstring& address)>;

// The marker of the published release in a version page, followed by four decimal digits in
// hundredths ("NewVersion:0130" is release 1.30).
inline constexpr std::wstring_view kVersionMarker = L"NewVersion:";

// The release a version page announces, in hundredths; `previous` when the page has no
// marker or no digit follows it (a malformed page changes nothing).
int parsePublishedVersion(std::wstring_view body, int previous);

class OutreachWorkers {
 public:
  explicit OutreachWorkers(PageFetcher fetch);
  // Waits for both workers.
  ~OutreachWorkers();
  OutreachWorkers(const OutreachWorkers&) = delete;
  OutreachWorkers& operator=(const OutreachWorkers&) = delete;

  // The usage name of the command whose prologue ran last.
  void setCommandName(std::wstring name);
  std::wstring commandName() const;

  // Starts a usage report unless one is still running; the worker appends the command name
  // current when it builds the address to `baseAddress`. An empty base sends nothing.
  // True when a worker was started.
  bool startUsageReport(std::wstring baseAddress);
  // Starts a version query of `pageAddress` unless one is still running (its answer serves
  // both). An empty address asks nothing. True when a worker was started.
  bool startVersionQuery(std::wstring pageAddress);

  // The published release in hundredths; 0 until a query succeeds.
  int publishedVersion() const { return publishedVersion_.load(std::memory_order_acquire); }
  bool usageReportRunning() const { return reportRunning_.load(std::memory_order_acquire); }
  bool versionQueryRunning() const { return versionRunning_.load(std::memory_order_acquire); }

  // Waits, without a time limit, for a running report and then for a running query.
  void waitForWorkers();

 private:
  void runUsageReport(std::wstring baseAddress);
  void runVersionQuery(std::wstring pageAddress);

  PageFetcher fetch_;
  mutable std::mutex nameMutex_;
  std::wstring commandName_;
  std::atomic<int> publishedVersion_{0};
  // Set by the command thread when a worker starts, cleared by the worker as it ends; the
  // thread objects themselves are only touched by the command thread.
  std::atomic<bool> reportRunning_{false};
  std::atomic<bool> versionRunning_{false};
  std::thread reportThread_;
  std::thread versionThread_;
};

}  // namespace veltrace::outreach
