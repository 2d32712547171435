#include <gtest/gtest.h>

#include "editor/WideFormat.h"

namespace vtcad::editor {
namespace {

std::wstring format(const wchar_t* f, ...) {
  va_list args;
  va_start(args, f);
  std::wstring out = formatWide(f, args);
  va_end(args);
  return out;
}

TEST(WideFormat, PercentSTakesWideStringsAsTheHostDoes) {
  EXPECT_EQ(format(L"<%s> %d", L"中文 path", 3), L"<中文 path> 3");
  EXPECT_EQ(format(L"%-5s|%c", L"ab", L'Z'), L"ab   |Z");
  EXPECT_EQ(format(L"%S", "narrow"), L"narrow");
  EXPECT_EQ(format(L"%.2f%%", 12.345), L"12.35%");
  EXPECT_EQ(format(L"%ls", L"explicit"), L"explicit");
}

TEST(WideFormat, LongOutputIsNotCut) {
  std::wstring big(5000, L'x');
  EXPECT_EQ(format(L"%s!", big.c_str()).size(), 5001u);
}

}  // namespace
}  // namespace vtcad::editor
