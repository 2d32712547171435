#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "DrawCommandTestSupport.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/ge/ZcGe.h"

namespace draw_test {
namespace {

using TextCommandTest = DrawCommandTest;

constexpr double kDegree = ZcGe::kPi / 180.0;

std::wstring textOf(const ZcDbText& text) { return text.textStringConst(); }

TEST_F(TextCommandTest, StartPointHeightRotationAndALineWithSpaces) {
  std::string transcript = run(L"TEXT 10,20 5 30 Hello  world\n\n");
  EXPECT_NE(transcript.find("Current text style:  \"Standard\"  Text height:  2.5000"), std::string::npos);
  Opened<ZcDbText> text(onlyEntity());
  ASSERT_TRUE(text);
  EXPECT_EQ(textOf(*text), L"Hello  world");
  EXPECT_TRUE(near(text->position(), {10, 20, 0}));
  EXPECT_DOUBLE_EQ(text->height(), 5.0);
  EXPECT_NEAR(text->rotation(), 30 * kDegree, 1e-12);
  EXPECT_TRUE(text->isDefaultAlignment());
  // The height given becomes the drawing's text size, offered next time.
  EXPECT_DOUBLE_EQ(db_->textsize(), 5.0);
}

TEST_F(TextCommandTest, EachLineGoesOneLineSpacingBelowTheOneBefore) {
  run(L"TEXT 0,0 3 0 First\nSecond\nThird\n\nTEXT 0,0 3 90 Up\nNext\n\n");
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 5u) << transcript_;
  const ZcGePoint3d expected[] = {{0, 0, 0}, {0, -5, 0}, {0, -10, 0}, {0, 0, 0}, {5, 0, 0}};
  const wchar_t* strings[] = {L"First", L"Second", L"Third", L"Up", L"Next"};
  for (size_t i = 0; i < ids.size(); ++i) {
    Opened<ZcDbText> text(ids[i]);
    ASSERT_TRUE(text);
    EXPECT_TRUE(near(text->position(), expected[i])) << i;
    EXPECT_EQ(textOf(*text), strings[i]);
  }
}

TEST_F(TextCommandTest, EnterAtTheStartPointContinuesBelowTheLastText) {
  run(L"TEXT 0,0 3 0 One\n\nTEXT\n\nTwo\n\n");
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 2u) << transcript_;
  Opened<ZcDbText> second(ids[1]);
  ASSERT_TRUE(second);
  EXPECT_TRUE(near(second->position(), {0, -5, 0}));
  EXPECT_DOUBLE_EQ(second->height(), 3.0);
}

TEST_F(TextCommandTest, JustificationsPlaceTheTextByTheirPoint) {
  struct Case {
    const wchar_t* script;
    ZcDb::TextHorzMode horizontal;
    ZcDb::TextVertMode vertical;
  };
  const Case cases[] = {
      {L"TEXT J C 50,50 2 0 Title\n\n", ZcDb::kTextCenter, ZcDb::kTextBase},
      {L"TEXT J R 50,50 2 0 Title\n\n", ZcDb::kTextRight, ZcDb::kTextBase},
      {L"TEXT M 50,50 2 0 Title\n\n", ZcDb::kTextMid, ZcDb::kTextBase},
      {L"TEXT TL 50,50 2 0 Title\n\n", ZcDb::kTextLeft, ZcDb::kTextTop},
      {L"TEXT MC 50,50 2 0 Title\n\n", ZcDb::kTextCenter, ZcDb::kTextVertMid},
      {L"TEXT BR 50,50 2 0 Title\n\n", ZcDb::kTextRight, ZcDb::kTextBottom},
  };
  for (const Case& c : cases) {
    freshDrawing();
    run(c.script);
    Opened<ZcDbText> text(onlyEntity());
    ASSERT_TRUE(text) << transcript_;
    EXPECT_EQ(text->horizontalMode(), c.horizontal);
    EXPECT_EQ(text->verticalMode(), c.vertical);
    EXPECT_TRUE(near(text->alignmentPoint(), {50, 50, 0}));
    // The text lies on the side of its point the justification names.
    ZcDbExtents box;
    ASSERT_EQ(text->getGeomExtents(box), Zcad::eOk);
    double side = (box.minPoint().x + box.maxPoint().x) / 2.0 - 50.0;
    switch (c.horizontal) {
      case ZcDb::kTextRight:
        EXPECT_LT(side, 0.0);
        break;
      case ZcDb::kTextLeft:
        EXPECT_GT(side, 0.0);
        break;
      default:
        EXPECT_NEAR(side, 0.0, 1e-6);
        break;
    }
  }
}

TEST_F(TextCommandTest, AlignAndFitTakeTheirBaselineFromTwoPoints) {
  run(L"TEXT J A 0,0 0,20 Aligned\n\nTEXT F 0,0 20,0 3 Fitted\n\n");
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 2u) << transcript_;
  {
    Opened<ZcDbText> aligned(ids[0]);
    ASSERT_TRUE(aligned);
    EXPECT_EQ(aligned->horizontalMode(), ZcDb::kTextAlign);
    EXPECT_NEAR(aligned->rotation(), 90 * kDegree, 1e-12);
    EXPECT_NEAR(aligned->measuredWidth(), 20.0, 1e-9);
  }
  Opened<ZcDbText> fitted(ids[1]);
  ASSERT_TRUE(fitted);
  EXPECT_EQ(fitted->horizontalMode(), ZcDb::kTextFit);
  EXPECT_DOUBLE_EQ(fitted->height(), 3.0);
  EXPECT_NEAR(fitted->measuredWidth(), 20.0, 1e-9);
}

TEST_F(TextCommandTest, EnterTakesTextSizeAndTheLastRotationAndAnEmptyFirstLineWritesNothing) {
  std::string transcript = run(L"TEXT 0,0\n\n45 Defaults\n\nTEXT 5,5 1\n\nSecond\n\nTEXT 9,9 1 0\n\n");
  EXPECT_NE(transcript.find("Specify height <2.5000>:"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("Specify rotation angle of text <45>:"), std::string::npos) << transcript;
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 2u) << transcript;
  Opened<ZcDbText> first(ids[0]);
  Opened<ZcDbText> second(ids[1]);
  ASSERT_TRUE(first && second);
  EXPECT_DOUBLE_EQ(first->height(), 2.5);
  EXPECT_NEAR(second->rotation(), 45 * kDegree, 1e-12);
}

TEST_F(TextCommandTest, StyleListsTheStylesAndRefusesAnUnknownOne) {
  std::string transcript = run(L"TEXT S ?\nNoSuchStyle\nstandard\n0,0 2 0 Styled\n\n");
  EXPECT_NE(transcript.find("  Standard"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("Text style \"NoSuchStyle\" not found."), std::string::npos);
  EXPECT_EQ(entities().size(), 1u);
}

TEST_F(TextCommandTest, UTakesAllLinesBackAndTextsSurviveSavingAsDxf) {
  run(L"TEXT J C 10,10 2 0 One\nTwo\n\n");
  std::unique_ptr<ZcDbDatabase> reloaded = savedAndReloaded();
  ASSERT_TRUE(reloaded);
  std::vector<ZcDbObjectId> ids = modelSpaceEntities(*reloaded);
  ASSERT_EQ(ids.size(), 2u);
  Opened<ZcDbText> second(ids[1]);
  ASSERT_TRUE(second);
  EXPECT_EQ(textOf(*second), L"Two");
  EXPECT_EQ(second->horizontalMode(), ZcDb::kTextCenter);
  EXPECT_TRUE(near(second->alignmentPoint(), {10, 10.0 - 2.0 * 5.0 / 3.0, 0}, 1e-9));
  run(L"U\n");
  EXPECT_TRUE(entities().empty());
}

}  // namespace
}  // namespace draw_test
