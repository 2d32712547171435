// Colours as CECOLOR writes and takes them.
#include <gtest/gtest.h>

#include "editor/ColorText.h"

namespace editor = vtcad::editor;

namespace {

TEST(ColorTextTest, EveryFormReadsBackAsItsCanonicalText) {
  struct Case {
    const wchar_t* given;
    const wchar_t* canonical;
  };
  for (const Case& c :
       {Case{L"BYLAYER", L"BYLAYER"}, Case{L"bylayer", L"BYLAYER"}, Case{L" ByBlock ", L"BYBLOCK"},
        Case{L"1", L"1"}, Case{L"255", L"255"}, Case{L"007", L"7"}, Case{L"RGB:0,0,0", L"RGB:0,0,0"},
        Case{L"rgb: 255, 128 ,1", L"RGB:255,128,1"}}) {
    std::optional<ZcCmColor> color = editor::parseColorText(c.given);
    ASSERT_TRUE(color.has_value()) << "refused: " << c.given;
    EXPECT_EQ(editor::colorText(*color), c.canonical);
    EXPECT_EQ(editor::parseColorText(editor::colorText(*color)), color);
  }
}

TEST(ColorTextTest, OtherTextsAreRefused) {
  for (const wchar_t* text :
       {L"", L"0", L"256", L"-1", L"+3", L"1.0", L"red", L"BYLAYERS", L"RGB:", L"RGB:1,2", L"RGB:1,2,3,4",
        L"RGB:1,2,256", L"RGB:1,,3", L"RGB:-1,2,3", L"1e2"}) {
    EXPECT_FALSE(editor::parseColorText(text).has_value()) << "taken: " << text;
  }
}

}  // namespace
