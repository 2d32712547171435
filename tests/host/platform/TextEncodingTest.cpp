// Text encodings: strict on what is read, always valid in what is written.
#include <gtest/gtest.h>

#include "platform/TextEncoding.h"

using namespace vtcad::platform;

TEST(TextEncoding, EveryCodePointSurvivesUtf8AndUtf16) {
  // Property over samples of every plane, the edges of each encoding length included.
  for (char32_t c : {0x1u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xD7FFu, 0xE000u, 0xFFFDu, 0xFFFFu, 0x10000u,
                     0x1F600u, 0x10FFFFu}) {
    std::wstring text = {L'a', static_cast<wchar_t>(c), L'z'};
    DecodedText viaUtf8 = decodeUtf8(encodeUtf8(text));
    EXPECT_EQ(viaUtf8.text, text) << std::hex << static_cast<unsigned>(c);
    EXPECT_TRUE(viaUtf8.invalidAt.empty());
    std::vector<std::uint8_t> utf16 = encodeUtf16Le(text);
    DecodedText viaUtf16 =
        decodeUtf16Le(std::string_view(reinterpret_cast<const char*>(utf16.data()), utf16.size()));
    EXPECT_EQ(viaUtf16.text, text) << std::hex << static_cast<unsigned>(c);
  }
}

TEST(TextEncoding, InvalidUtf8IsReplacedAndItsPlaceReported) {
  struct Case {
    const char* bytes;
    const wchar_t* text;
    std::vector<size_t> invalidAt;
  };
  const Case cases[] = {
      {"a\xE0\x80\xAF"
       "b",
       L"a\uFFFDb",
       {1}},  // overlong '/'
      {"a\xED\xA0\x80"
       "b",
       L"a\uFFFDb",
       {1}},  // a surrogate
      {"a\xF4\x90\x80\x80"
       "b",
       L"a\uFFFDb",
       {1}},                           // above U+10FFFF
      {"a\xE4\xB8", L"a\uFFFD", {1}},  // cut off at the end
      {"\xE4"
       "b\xFF",
       L"\uFFFDb\uFFFD",
       {0, 2}},                                 // a lead byte does not swallow the next character
      {"a\xEF\xBF\xBD", L"a\uFFFD", {}},        // a real U+FFFD is no error
      {"a\xC0\xAF", L"a\uFFFD\uFFFD", {1, 2}},  // a byte that never leads, and a stray continuation
  };
  for (const Case& c : cases) {
    DecodedText decoded = decodeUtf8(c.bytes);
    EXPECT_EQ(decoded.text, c.text) << c.bytes;
    EXPECT_EQ(decoded.invalidAt, c.invalidAt) << c.bytes;
  }
}

TEST(TextEncoding, UnpairedSurrogatesAndOddBytesInUtf16AreInvalid) {
  using namespace std::string_view_literals;
  DecodedText lone = decodeUtf16Le(
      "a\0\x00\xD8"
      "b\0"sv);
  EXPECT_EQ(lone.text, L"a\uFFFDb");
  EXPECT_EQ(lone.invalidAt, std::vector<size_t>{1});
  DecodedText odd = decodeUtf16Le("a\0b"sv);
  EXPECT_EQ(odd.text, L"a\uFFFD");
}

TEST(TextEncoding, WideCharactersWithoutAnEncodingAreWrittenAsReplacement) {
  std::wstring text = {L'a', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000)};
  EXPECT_EQ(encodeUtf8(text), "a\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(encodeUtf16Le(text), (std::vector<std::uint8_t>{'a', 0, 0xFD, 0xFF, 0xFD, 0xFF}));
}

TEST(TextEncoding, PathsAreUtf8) {
  EXPECT_EQ(pathFromWide(L"/tmp/\u5730\u5757.dxf").native(), "/tmp/\xE5\x9C\xB0\xE5\x9D\x97.dxf");
  EXPECT_EQ(wideFromPath("/tmp/\xE5\x9C\xB0.dxf"), L"/tmp/\u5730.dxf");
}
