#include "outreach/DemoLinks.h"

#include <cwctype>
#include <fstream>
#include <string>

#include "frame/Messages.h"
#include "frame/Settings.h"
#include "frame/Trim.h"
#include "frame/Utf8.h"
#include "zcad/platform/zcshell.h"

namespace veltrace::outreach {
namespace {

// The address for `name` in the links file beside the plug-in; names compare without regard
// to case. Lines longer than any address are skipped, so a damaged file costs nothing.
std::wstring addressFromLinksFile(const std::wstring& name) {
  std::ifstream file(encodeUtf8(programFolder() + kDemoLinksFile), std::ios::binary);
  if (!file) return {};
  std::string line;
  constexpr std::size_t kLongestLine = 4096;
  for (int lines = 0; lines < 1000 && std::getline(file, line); ++lines) {
    if (line.size() > kLongestLine) continue;
    const std::wstring text = trimmed(decodeUtf8(line));
    if (text.empty() || text[0] == L'#') continue;
    const std::size_t equals = text.find(L'=');
    if (equals == std::wstring::npos) continue;
    const std::wstring key = trimmed(text.substr(0, equals));
    if (key.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < key.size() && same; ++i)
      same = std::towlower(key[i]) == std::towlower(name[i]);
    if (same) return trimmed(text.substr(equals + 1));
  }
  return {};
}

}  // namespace

std::wstring demoAddress(const wchar_t* name) {
  std::wstring address = trimmed(readStringSetting(name));
  if (!address.empty()) return address;
  return addressFromLinksFile(name);
}

void openDemo(const wchar_t* name) {
  const std::wstring address = demoAddress(name);
  if (address.empty()) {
    printfBilingual({L"\n演示 %s 未设置网址（设置值 \"%s\" 或插件文件夹中的 %s）。",
                     L"\nNo address is set for the demonstration %s (setting \"%s\" or %s in the "
                     L"plug-in's folder)."},
                    name, name, kDemoLinksFile);
    return;
  }
  printfBilingual({L"\n打开演示：%s", L"\nOpening the demonstration: %s"}, address.c_str());
  ShellExecuteW(/*hwnd=*/nullptr, L"open", address.c_str(), /*params=*/nullptr, /*dir=*/nullptr,
                SW_SHOWNORMAL);
}

void demo1Command() { openDemo(L"Demo1"); }
void demo2Command() { openDemo(L"Demo2"); }
void demo3Command() { openDemo(L"Demo3"); }
void demo4Command() { openDemo(L"Demo4"); }
void demo5Command() { openDemo(L"Demo5"); }
void demo6Command() { openDemo(L"Demo6"); }
void demo7Command() { openDemo(L"Demo7"); }
void demo8Command() { openDemo(L"Demo8"); }
void siblingDemo1Command() { openDemo(L"SiblingDemo1"); }
void siblingDemo2Command() { openDemo(L"SiblingDemo2"); }
void siblingDemo3Command() { openDemo(L"SiblingDemo3"); }

}  // namespace veltrace::outreach
