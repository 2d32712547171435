#include "export/ListFilePrompt.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "frame/Messages.h"
#include "frame/Utf8.h"
#include "zcad/platform/zcui.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

// "EXCEL File(*.xls)|*.xls|" -> "EXCEL File(*.xls)".
std::wstring questionOf(const wchar_t* label) {
  const std::wstring_view text(label);
  return std::wstring(text.substr(0, text.find(L'|')));
}

std::wstring absolute(const std::wstring& path) {
  std::error_code ec;
  const std::filesystem::path made = std::filesystem::absolute(encodeUtf8(path), ec);
  return ec ? path : decodeUtf8(made.string());
}

}  // namespace

std::wstring askListFileName(const wchar_t* chineseLabel) {
  const std::wstring question = questionOf(chineseVersion ? chineseLabel : kEnglishListFileLabel);
  resbuf answer{};
  std::wstring chosen;
  if (zcedGetFileD(question.c_str(), /*defawlt=*/nullptr, /*ext=*/L"xls", kZcedGetFileSave, &answer) ==
          RTNORM &&
      answer.restype == RTSTR && answer.resval.rstring) {
    chosen = answer.resval.rstring;
    std::free(answer.resval.rstring);
  }
  if (chosen.empty()) {
    printBilingual(L"\n未设定文件名。\n", L"\nNo file name asigned.\n");
    return chosen;
  }
  return absolute(chosen);
}

}  // namespace veltrace
