#include "outreach/AboutBox.h"

#include <cwchar>

#include "frame/Messages.h"
#include "frame/Settings.h"
#include "outreach/Outreach.h"

namespace veltrace::outreach {
namespace {

std::wstring addressOrNone(const wchar_t* setting) {
  std::wstring address = readStringSetting(setting);
  if (address.empty()) return chineseVersion ? L"（未设置）" : L"(not configured)";
  return address;
}

}  // namespace

std::wstring aboutText() {
  std::wstring text = std::wstring(kProgramName) + L" " + kVersionText;
  text += chineseVersion ? L"\n产品主页：" : L"\nProduct page: ";
  text += addressOrNone(kProductPageSetting);
  text += chineseVersion ? L"\n隐私声明：" : L"\nPrivacy: ";
  text += addressOrNone(kPrivacyPageSetting);
  const int published = publishedVersion();
  if (published > kRunningRelease) {
    wchar_t release[64];
    std::swprintf(release, sizeof release / sizeof release[0], L"V[%.2f]", published / 100.0);
    text += chineseVersion ? L"\n新版本 " : L"\nNew release ";
    text += release;
    text += chineseVersion ? L" 已发布。" : L" is published.";
  }
  return text;
}

void showAboutBox() {
  const std::wstring text = aboutText();
  // One text for the language of this load; both arguments carry it.
  messageBoxBilingual(text.c_str(), text.c_str());
}

void aboutCommand() {
  startVersionQuery();
  showAboutBox();
}

}  // namespace veltrace::outreach
