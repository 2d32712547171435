#include "frame/Messages.h"

#include <string>

#include "zcad/platform/zcui.h"

namespace veltrace {

std::wstring withPath(const wchar_t* format, const std::wstring& path) {
  std::wstring text(format);
  const std::size_t at = text.find(L"%s");
  if (at != std::wstring::npos) text.replace(at, 2, path);
  return text;
}

bool chineseVersion = false;

namespace {

const wchar_t* chosen(const wchar_t* chinese, const wchar_t* english) {
  return chineseVersion ? chinese : english;
}

}  // namespace

void printBilingual(const wchar_t* chinese, const wchar_t* english) {
  // Through "%s" so that a percent sign in a message is printed, not read as a conversion.
  zcutPrintf(L"%s", chosen(chinese, english));
}

void messageBoxBilingual(const wchar_t* chinese, const wchar_t* english) {
  if (chineseVersion) {
    const std::wstring caption = std::wstring(kProgramName) + L"[" + kVersionText + L"]";
    MessageBoxW(/*owner=*/nullptr, chinese, caption.c_str(), MB_OK);
  } else {
    AfxMessageBox(english, MB_OK);
  }
}

bool getYesNoBilingual(const wchar_t* chinese, const wchar_t* english, bool defaultAnswer) {
  zcedInitGet(0, L"Yes No");
  wchar_t answer[16] = {};
  // The host answers the keyword as declared ("Yes", "No") whatever the user typed.
  if (zcedGetKword(chosen(chinese, english), answer, std::size(answer)) != RTNORM) return defaultAnswer;
  return answer[0] == L'Y';
}

int entSelBilingual(const wchar_t* chinese, const wchar_t* english, zds_name entity, zds_point picked) {
  return zcedEntSel(chosen(chinese, english), entity, picked);
}

int getDistBilingual(const zds_point base, const wchar_t* chinese, const wchar_t* english, double* distance) {
  return zcedGetDist(base, chosen(chinese, english), distance);
}

int getIntBilingual(const wchar_t* chinese, const wchar_t* english, int* value) {
  return zcedGetInt(chosen(chinese, english), value);
}

int getPointBilingual(const zds_point base, const wchar_t* chinese, const wchar_t* english, zds_point point) {
  return zcedGetPoint(base, chosen(chinese, english), point);
}

}  // namespace veltrace
