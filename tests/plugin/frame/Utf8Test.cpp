// UTF-8 both ways: every character survives a round trip, and malformed bytes become
// replacement characters without swallowing the text around them.
#include <gtest/gtest.h>

#include "frame/Utf8.h"

namespace veltrace {
namespace {

TEST(Utf8, RoundTripsEveryLength) {
  const std::wstring text = L"a\u00e9\u4e2d\U0001F600 /home/用户/图纸.dxf";
  EXPECT_EQ(decodeUtf8(encodeUtf8(text)), text);
  EXPECT_EQ(encodeUtf8(L"\u4e2d"), "\xe4\xb8\xad");
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters) {
  // A stray continuation byte, a truncated sequence before ASCII, an overlong '/', an encoded
  // surrogate, and a lead byte at the very end.
  EXPECT_EQ(decodeUtf8("a\x80"
                       "b"),
            L"a\uFFFDb");
  EXPECT_EQ(decodeUtf8("\xe4\xb8"
                       "c"),
            L"\uFFFDc");
  EXPECT_EQ(decodeUtf8("\xc0\xaf"), L"\uFFFD");
  EXPECT_EQ(decodeUtf8("\xed\xa0\x80"), L"\uFFFD");
  EXPECT_EQ(decodeUtf8("x\xf0"), L"x\uFFFD");
  EXPECT_EQ(encodeUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xef\xbf\xbd");
}

}  // namespace
}  // namespace veltrace
