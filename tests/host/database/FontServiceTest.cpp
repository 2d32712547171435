#include <gtest/gtest.h>

#include "database/FontService.h"

namespace vtcad::db {
namespace {

// Every test leaves the service with the machine's fonts.
class FontServiceTest : public ::testing::Test {
 protected:
  void TearDown() override { fonts().resetFontFiles(); }
  static FontService& fonts() { return FontService::instance(); }

  const FontChoice latin_ = resolveFontChoice(L"txt", L"", L"");
  const FontChoice song_ = resolveFontChoice(L"", L"", L"SimSun");
};

TEST_F(FontServiceTest, CapitalLettersAreOneHeightHigh) {
  ASSERT_TRUE(fonts().isAvailable(FontFace::kLatin));
  ASSERT_TRUE(fonts().isAvailable(FontFace::kCjk));
  for (const FontChoice& font : {latin_, song_}) {
    const GlyphMetrics h = fonts().glyph(font, U'H');
    EXPECT_NEAR(h.top, 1.0, 1e-12);
    EXPECT_NEAR(h.bottom, 0.0, 1e-12);
    EXPECT_GT(h.advance, 0.5);
  }
}

TEST_F(FontServiceTest, DescendersReachBelowTheBaseline) {
  EXPECT_LT(fonts().glyph(latin_, U'g').bottom, -0.1);
  EXPECT_GT(fonts().descent(latin_), 0.1);
  EXPECT_LT(fonts().descent(latin_), 0.5);
}

TEST_F(FontServiceTest, IdeographsOfShapeFontsFillAHeightSizedCell) {
  const FontChoice shape = resolveFontChoice(L"txt.shx", L"gbcbig.shx", L"");
  EXPECT_NEAR(fonts().glyph(shape, U'中').advance, 1.0, 1e-12);
  // A TrueType Chinese face scales by its cap height: ideographs come out wider than h.
  EXPECT_GT(fonts().glyph(song_, U'中').advance, 1.2);
}

TEST_F(FontServiceTest, CharactersMissingInTheLatinFaceComeFromTheChineseOne) {
  const GlyphMetrics fromLatinStyle = fonts().glyph(resolveFontChoice(L"arial.ttf", L"", L""), U'中');
  const GlyphMetrics fromChineseStyle = fonts().glyph(song_, U'中');
  EXPECT_NEAR(fromLatinStyle.advance, fromChineseStyle.advance, 1e-12);
  EXPECT_NE(fromLatinStyle.advance, FontService::kApproxCjkAdvance);
}

TEST_F(FontServiceTest, MissingFontFilesFallBackToApproximateMetrics) {
  fonts().setFontFile(FontFace::kLatin, "/nonexistent/DejaVuSans.ttf");
  fonts().setFontFile(FontFace::kCjk, "/nonexistent/wqy-microhei.ttc");
  EXPECT_FALSE(fonts().isAvailable(FontFace::kLatin));
  EXPECT_DOUBLE_EQ(fonts().glyph(latin_, U'W').advance, FontService::kApproxAdvance);
  EXPECT_DOUBLE_EQ(fonts().glyph(latin_, U'中').advance, FontService::kApproxCjkAdvance);
  EXPECT_DOUBLE_EQ(fonts().glyph(latin_, U'W').top, 1.0);
  EXPECT_DOUBLE_EQ(fonts().descent(latin_), FontService::kApproxDescent);
}

TEST_F(FontServiceTest, OneMissingFaceLeavesTheOtherMeasuring) {
  fonts().setFontFile(FontFace::kLatin, "/nonexistent/DejaVuSans.ttf");
  const double advance = fonts().glyph(latin_, U'W').advance;
  EXPECT_NE(advance, FontService::kApproxAdvance);  // measured in WenQuanYi Micro Hei
  fonts().resetFontFiles();
  EXPECT_NE(fonts().glyph(latin_, U'W').advance, advance);  // back to DejaVu Sans
}

TEST_F(FontServiceTest, AFileThatIsNoFontIsTakenAsMissing) {
  fonts().setFontFile(FontFace::kLatin, "/etc/hostname");
  fonts().setFontFile(FontFace::kCjk, "");
  EXPECT_DOUBLE_EQ(fonts().glyph(latin_, U'A').advance, FontService::kApproxAdvance);
}

}  // namespace
}  // namespace vtcad::db
