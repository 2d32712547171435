// The outreach workers and their hand-overs with the command thread. This file also builds on
// its own under ThreadSanitizer (target plugin_outreach_tsan), which fails the run on any
// data race in the hand-over of the command name or the published version.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "outreach/OutreachWorkers.h"

namespace veltrace::outreach {
namespace {

using namespace std::chrono_literals;

TEST(ParsePublishedVersion, ReadsTheFourCharactersAfterTheMarker) {
  EXPECT_EQ(parsePublishedVersion(L"<p>NewVersion:0130</p>", 0), 130);
  EXPECT_EQ(parsePublishedVersion(L"NewVersion:0125", 7), 125);
  // Only leading digits count; the fifth character is not part of the number.
  EXPECT_EQ(parsePublishedVersion(L"NewVersion:12x4", 0), 12);
  EXPECT_EQ(parsePublishedVersion(L"NewVersion:01309", 0), 130);
  EXPECT_EQ(parsePublishedVersion(L"NewVersion:7", 0), 7) << "a page cut short";
}

TEST(ParsePublishedVersion, AMalformedOrMissingNumberChangesNothing) {
  EXPECT_EQ(parsePublishedVersion(L"", 130), 130);
  EXPECT_EQ(parsePublishedVersion(L"no marker here 0150", 130), 130);
  EXPECT_EQ(parsePublishedVersion(L"NewVersion:", 130), 130);
  EXPECT_EQ(parsePublishedVersion(L"NewVersion:-150", 130), 130);
  EXPECT_EQ(parsePublishedVersion(L"newversion:0150", 130), 130) << "the marker is matched exactly";
}

// A fetcher that records what it was asked and answers a fixed body after a short wait.
class RecordingFetcher {
 public:
  explicit RecordingFetcher(std::wstring body, std::chrono::milliseconds wait = 0ms)
      : body_(std::move(body)), wait_(wait) {}
  std::wstring operator()(const std::wstring& address) {
    std::this_thread::sleep_for(wait_);
    std::lock_guard lock(mutex_);
    addresses_.push_back(address);
    return body_;
  }
  std::vector<std::wstring> addresses() const {
    std::lock_guard lock(mutex_);
    return addresses_;
  }

 private:
  std::wstring body_;
  std::chrono::milliseconds wait_;
  mutable std::mutex mutex_;
  std::vector<std::wstring> addresses_;
};

TEST(OutreachWorkers, AnEmptyAddressSendsNothing) {
  RecordingFetcher fetcher(L"NewVersion:0200");
  {
    OutreachWorkers workers([&](const std::wstring& a) { return fetcher(a); });
    workers.setCommandName(L"VTRC_PLYH");
    EXPECT_FALSE(workers.startUsageReport(L""));
    EXPECT_FALSE(workers.startVersionQuery(L""));
    workers.waitForWorkers();
    EXPECT_EQ(workers.publishedVersion(), 0);
  }
  EXPECT_TRUE(fetcher.addresses().empty());
}

TEST(OutreachWorkers, TheReportNamesTheCommandAndTheQuerySetsTheVersion) {
  RecordingFetcher fetcher(L"NewVersion:0130");
  OutreachWorkers workers([&](const std::wstring& a) { return fetcher(a); });
  workers.setCommandName(L"plineReverse");
  ASSERT_TRUE(workers.startUsageReport(L"http://127.0.0.1/use?cmdName="));
  ASSERT_TRUE(workers.startVersionQuery(L"http://127.0.0.1/version"));
  workers.waitForWorkers();
  EXPECT_FALSE(workers.usageReportRunning());
  EXPECT_FALSE(workers.versionQueryRunning());
  EXPECT_EQ(workers.publishedVersion(), 130);
  const auto asked = fetcher.addresses();
  EXPECT_EQ(
      std::set<std::wstring>(asked.begin(), asked.end()),
      (std::set<std::wstring>{L"http://127.0.0.1/use?cmdName=plineReverse", L"http://127.0.0.1/version"}));
}

TEST(OutreachWorkers, AReportInFlightIsNotJoinedByASecond) {
  RecordingFetcher fetcher(L"", 200ms);
  OutreachWorkers workers([&](const std::wstring& a) { return fetcher(a); });
  workers.setCommandName(L"first");
  ASSERT_TRUE(workers.startUsageReport(L"u="));
  // While the first is in flight a second command is not reported.
  EXPECT_FALSE(workers.startUsageReport(L"u="));
  workers.waitForWorkers();
  EXPECT_EQ(fetcher.addresses().size(), 1u);
  // Once it has ended, the next command starts a report again.
  EXPECT_TRUE(workers.startUsageReport(L"u="));
  workers.waitForWorkers();
  EXPECT_EQ(fetcher.addresses().size(), 2u);
}

// The command thread replaces the name as fast as it can while reports run; every report must
// carry one whole name, never a mixture.
TEST(OutreachWorkers, NamesAndVersionsCrossThreadsWhole) {
  const std::vector<std::wstring> names = {
      L"VTRC_PLYH", L"plineDevideByDist", L"x",
      L"mapACurveTo4CurvesFence_with_a_long_tail_beyond_any_small_buffer"};
  RecordingFetcher fetcher(L"NewVersion:0131");
  OutreachWorkers workers([&](const std::wstring& a) { return fetcher(a); });
  int versionSeen = 0;
  for (int round = 0; round < 300; ++round) {
    workers.setCommandName(names[round % names.size()]);
    workers.startUsageReport(L"r=");
    if (round % 50 == 0) workers.startVersionQuery(L"v");
    versionSeen = std::max(versionSeen, workers.publishedVersion());
    EXPECT_TRUE(versionSeen == 0 || versionSeen == 131);
  }
  workers.waitForWorkers();
  EXPECT_EQ(workers.publishedVersion(), 131);
  std::set<std::wstring> allowed = {L"v"};
  for (const auto& name : names) allowed.insert(L"r=" + name);
  for (const auto& address : fetcher.addresses())
    EXPECT_TRUE(allowed.count(address)) << std::string(address.begin(), address.end());
}

TEST(OutreachWorkers, DestructionWaitsForASlowWorker) {
  std::atomic<bool> finished{false};
  {
    OutreachWorkers workers([&](const std::wstring&) {
      std::this_thread::sleep_for(100ms);
      finished = true;
      return std::wstring(L"NewVersion:0140");
    });
    workers.startVersionQuery(L"v");
  }
  EXPECT_TRUE(finished);
}

}  // namespace
}  // namespace veltrace::outreach
