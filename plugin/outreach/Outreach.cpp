#include "outreach/Outreach.h"

#include <cstdint>
#include <cwchar>
#include <memory>
#include <mutex>
#include <string>

#include "frame/Messages.h"
#include "frame/Settings.h"
#include "outreach/AboutBox.h"
#include "outreach/OutreachWorkers.h"
#include "zcad/platform/zcshell.h"
#include "zcad/zced.h"

namespace veltrace::outreach {
namespace {

std::mutex timeoutsMutex;
FetchTimeouts fetchTimeouts;

std::wstring fetchWithCurrentTimeouts(const std::wstring& address) {
  FetchTimeouts timeouts;
  {
    std::lock_guard lock(timeoutsMutex);
    timeouts = fetchTimeouts;
  }
  return fetchPage(address, timeouts);
}

// Made at the first use of a load and ended (workers awaited) at unload.
std::unique_ptr<OutreachWorkers>& workersSlot() {
  static std::unique_ptr<OutreachWorkers> workers;
  return workers;
}

OutreachWorkers& workers() {
  auto& slot = workersSlot();
  if (!slot) slot = std::make_unique<OutreachWorkers>(&fetchWithCurrentTimeouts);
  return *slot;
}

// Counters are DWORDs: counted in 32-bit unsigned arithmetic, so a damaged (negative or huge)
// value wraps or restarts instead of overflowing.
std::uint32_t readCounter(const wchar_t* name) { return static_cast<std::uint32_t>(readSetting(name)); }
void writeCounter(const wchar_t* name, std::uint32_t value) {
  (void)writeSetting(name, static_cast<int>(value));
}

// "V[1.30]" for 130.
std::wstring releaseText(int hundredths) {
  wchar_t text[64];
  std::swprintf(text, sizeof text / sizeof text[0], L"V[%.2f]", hundredths / 100.0);
  return text;
}

void printNewReleaseNotice(int published) {
  const std::wstring release = releaseText(published);
  const std::wstring product = readStringSetting(kProductPageSetting);
  std::wstring notice;
  if (chineseVersion) {
    notice = L"\n" + product + L" [Veltrace]新版本 " + release + L" 可下载";
  } else {
    notice = L"\nVeltrace new version " + release + L" is ready For Download" +
             (product.empty() ? L"." : L" on " + product);
  }
  // The address is text, not a format: it may hold a '%'.
  zcutPrintf(L"%s", notice.c_str());
}

}  // namespace

void recordCommand(const wchar_t* usageName) {
  workers().setCommandName(usageName ? usageName : L"");
  workers().startUsageReport(readStringSetting(kUsageReportSetting));
}

void countCommandUse() {
  const std::uint32_t uses = readCounter(kCommandCountSetting);
  writeCounter(kCommandCountSetting, uses + 1);
  if (uses % 50 == 49) openProductPage();
  const int published = workers().publishedVersion();
  if (published - kRunningRelease >= kNoticeThreshold) printNewReleaseNotice(published);
}

void startVersionQuery() {
  // The language is read here rather than taken from the loaded flag: the first query starts
  // before the flag is read at load.
  const bool chinese = readSetting(L"ChineseVersion") != 0;
  workers().startVersionQuery(readStringSetting(chinese ? kChineseVersionPageSetting : kVersionPageSetting));
}

void countLoad() {
  const std::uint32_t loads = readCounter(kLoadCountSetting);
  if (loads >= 121) {
    // The cycle starts again.
    writeCounter(kLoadCountSetting, 0);
    return;
  }
  writeCounter(kLoadCountSetting, loads + 1);
  const std::uint32_t phase = loads % 32;
  if (phase == 0) showAboutBox();
  if (phase <= 2) openProductPage();
}

void stopOutreach() {
  // Destroying the workers waits for both of them.
  workersSlot().reset();
}

void waitForOutreach() { workers().waitForWorkers(); }

int publishedVersion() { return workers().publishedVersion(); }

std::wstring currentCommandName() { return workers().commandName(); }

void openProductPage() {
  const std::wstring product = readStringSetting(kProductPageSetting);
  if (product.empty()) return;
  ShellExecuteW(/*hwnd=*/nullptr, L"open", product.c_str(), /*params=*/nullptr, /*dir=*/nullptr,
                SW_SHOWNORMAL);
}

void setFetchTimeouts(const FetchTimeouts& timeouts) {
  std::lock_guard lock(timeoutsMutex);
  fetchTimeouts = timeouts;
}

}  // namespace veltrace::outreach
