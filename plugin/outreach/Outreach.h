#pragma once
// What the plug-in tells its maker and its user: which command was used (a usage report),
// whether a newer release is published (and a notice at the next command when it is), how
// often commands ran and the plug-in was loaded, and now and then the product page.
//
// Every address is a setting under the plug-in's key; an empty one (the default) means
// nothing goes over the network and no page opens for it. Nothing here ever blocks or fails a
// command: fetches run on worker threads and failures are silent.
#include "outreach/FetchPage.h"

namespace veltrace::outreach {

// Settings holding the addresses (strings under the plug-in's key).
inline constexpr const wchar_t* kProductPageSetting = L"ProductPageUrl";
inline constexpr const wchar_t* kPrivacyPageSetting = L"PrivacyPageUrl";
// The usage endpoint, ending in its query key: "https://host/use?cmdName=".
inline constexpr const wchar_t* kUsageReportSetting = L"UsageReportUrl";
inline constexpr const wchar_t* kVersionPageSetting = L"VersionPageUrl";
inline constexpr const wchar_t* kChineseVersionPageSetting = L"VersionPageUrlChinese";
// Counters (DWORDs).
inline constexpr const wchar_t* kCommandCountSetting = L"cmdtimes";
inline constexpr const wchar_t* kLoadCountSetting = L"pagetimes";

// The running release in hundredths ("V1.20").
inline constexpr int kRunningRelease = 120;
// A published release this much newer (in hundredths) is announced at each command.
inline constexpr int kNoticeThreshold = 10;

// Stores the usage name as the current command and starts a usage report unless one is
// running.
void recordCommand(const wchar_t* usageName);
// Counts a command's use ("cmdtimes"); every 50th opens the product page; prints the
// new-release notice when a newer release is published.
void countCommandUse();
// Starts a version query of the page of the language the "ChineseVersion" setting names.
void startVersionQuery();
// Counts a load ("pagetimes"): the About box and the product page on some loads.
void countLoad();
// Waits (without a time limit) for a running usage report, then for a running version
// query, and forgets the current command and the published version: a load starts afresh.
void stopOutreach();

// Waits for running workers without ending the load's state (the About box, and tests).
void waitForOutreach();

// The published release in hundredths (0 until a query succeeds).
int publishedVersion();
// The usage name recorded last.
std::wstring currentCommandName();
// Opens the product page in the user's browser when one is configured.
void openProductPage();

// The time-outs of later fetches (tests shorten them).
void setFetchTimeouts(const FetchTimeouts& timeouts);

}  // namespace veltrace::outreach
