// MIRROR through the command line: mirrored copies, mirroring in place, texts and MIRRTEXT.
#include <numbers>

#include "EditCommandTestSupport.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbText.h"

namespace edit_test {
namespace {

class MirrorCommandTest : public EditCommandTest {};

TEST_F(MirrorCommandTest, MirroredCopyAboutAnInclinedLineKeepsTheSource) {
  const ZcDbObjectId line = addLine({2, 0, 0}, {3, 0, 0});
  // The mirror line y = x maps (x, y) to (y, x).
  run(L"MIRROR " + pick(line) + L" \n0,0\n5,5\n\n");
  const std::vector<ZcDbObjectId> all = entities();
  ASSERT_EQ(all.size(), 2u) << transcript_;
  Opened<ZcDbLine> source(all[0]), image(all[1]);
  EXPECT_TRUE(near(source->startPoint(), {2, 0, 0}));
  EXPECT_TRUE(near(image->startPoint(), {0, 2, 0}, 1e-12));
  EXPECT_TRUE(near(image->endPoint(), {0, 3, 0}, 1e-12));
}

TEST_F(MirrorCommandTest, ErasingTheSourceMirrorsInPlaceAndUndoRestores) {
  // An arc from 0 to 90 degrees about (5,0): mirrored about x = 0 it runs from 90 to 180
  // degrees about (-5,0) and is still counter-clockwise about +Z.
  const ZcDbObjectId arc =
      add(new ZcDbArc({5, 0, 0}, /*radius=*/2, /*startAngle=*/0, /*endAngle=*/std::numbers::pi / 2));
  run(L"MIRROR " + pick(arc) + L" \n0,0\n0,1\nY\n");
  ASSERT_EQ(entities().size(), 1u) << transcript_;
  {
    Opened<ZcDbArc> mirrored(arc);
    ASSERT_TRUE(mirrored) << "the source keeps its id";
    EXPECT_TRUE(near(mirrored->center(), {-5, 0, 0}, 1e-12));
    ZcGePoint3d start, end;
    ASSERT_EQ(mirrored->getStartPoint(start), Zcad::eOk);
    ASSERT_EQ(mirrored->getEndPoint(end), Zcad::eOk);
    // Endpoints as a set: the mirror swaps which end is which.
    EXPECT_TRUE(near(start, {-5, 2, 0}, 1e-9) || near(start, {-7, 0, 0}, 1e-9));
    EXPECT_TRUE(near(end, {-5, 2, 0}, 1e-9) || near(end, {-7, 0, 0}, 1e-9));
    EXPECT_NEAR(mirrored->totalAngle(), std::numbers::pi / 2, 1e-12);
  }
  run(L"U\n");
  Opened<ZcDbArc> restored(arc);
  EXPECT_TRUE(near(restored->center(), {5, 0, 0}));
}

TEST_F(MirrorCommandTest, TextsStayReadableUnlessMirrtextIsOn) {
  const ZcDbObjectId text = add(new ZcDbText({2, 0, 0}, L"Label", ZcDbObjectId::kNull, /*height=*/1.0));
  run(L"MIRROR " + pick(text) + L" \n0,0\n0,1\nN\n");
  std::vector<ZcDbObjectId> all = entities();
  ASSERT_EQ(all.size(), 2u) << transcript_;
  {
    Opened<ZcDbText> image(all[1]);
    EXPECT_FALSE(image->isMirroredInX()) << "MIRRTEXT 0: readable";
    EXPECT_LT(image->position().x, 0.0);
  }
  ASSERT_EQ(db_->setMirrtext(true), Zcad::eOk);
  run(L"MIRROR " + pick(text) + L" \n0,0\n0,1\nN\n");
  all = entities();
  ASSERT_EQ(all.size(), 3u) << transcript_;
  Opened<ZcDbText> image(all[2]);
  EXPECT_TRUE(image->isMirroredInX()) << "MIRRTEXT 1: written backwards";
}

TEST_F(MirrorCommandTest, MirrorLineOfNoLengthIsAskedAgain) {
  const ZcDbObjectId line = addLine({2, 0, 0}, {3, 0, 0});
  const std::string said = run(L"MIRROR " + pick(line) + L" \n1,1\n1,1\n1,2\n\n");
  EXPECT_NE(said.find("two different points"), std::string::npos) << said;
  ASSERT_EQ(entities().size(), 2u);
  Opened<ZcDbLine> image(entities()[1]);
  EXPECT_TRUE(near(image->startPoint(), {0, 0, 0}, 1e-12));
}

}  // namespace
}  // namespace edit_test
