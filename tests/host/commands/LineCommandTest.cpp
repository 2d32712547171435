#include <gtest/gtest.h>

#include "DrawCommandTestSupport.h"
#include "zcad/db/ZcDbLine.h"

namespace draw_test {
namespace {

using LineCommandTest = DrawCommandTest;

// The segments the scripts drew, as (start, end) pairs in drawing order.
std::vector<std::pair<ZcGePoint3d, ZcGePoint3d>> segments(ZcDbDatabase& db) {
  std::vector<std::pair<ZcGePoint3d, ZcGePoint3d>> out;
  for (ZcDbObjectId id : modelSpaceEntities(db)) {
    Opened<ZcDbLine> line(id);
    EXPECT_TRUE(line) << "not a line";
    if (line) out.emplace_back(line->startPoint(), line->endPoint());
  }
  return out;
}

TEST_F(LineCommandTest, CloseJoinsTheLastPointToTheFirstAndEnds) {
  std::string transcript = run(L"LINE 0,0 10,0 10,10 C\n");
  auto lines = segments(*db_);
  ASSERT_EQ(lines.size(), 3u) << transcript;
  EXPECT_TRUE(near(lines[0].first, {0, 0, 0}));
  EXPECT_TRUE(near(lines[2].second, {0, 0, 0}));
  for (size_t i = 1; i < lines.size(); ++i) EXPECT_TRUE(near(lines[i].first, lines[i - 1].second));
  // Close is offered only once two segments make a figure.
  EXPECT_NE(transcript.find("Specify next point or [Undo]:"), std::string::npos);
  EXPECT_NE(transcript.find("Specify next point or [Close/Undo]:"), std::string::npos);
}

TEST_F(LineCommandTest, UndoTakesTheLastSegmentBackAndTheLineGoesOnFromItsStart) {
  std::string transcript = run(L"LINE 0,0 10,0 10,10 U @5,0 U U U 0,7\n\n");
  auto lines = segments(*db_);
  ASSERT_EQ(lines.size(), 1u) << transcript;
  EXPECT_TRUE(near(lines[0].first, {0, 0, 0}));
  EXPECT_TRUE(near(lines[0].second, {0, 7, 0}));
  EXPECT_NE(transcript.find("All segments already undone."), std::string::npos);
}

TEST_F(LineCommandTest, ARepeatedPointIsRefusedAndTheLineGoesOn) {
  std::string transcript = run(L"LINE 1,1 1,1 4,5\n\n");
  auto lines = segments(*db_);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NEAR(lines[0].first.distanceTo(lines[0].second), 5.0, 1e-12);
  EXPECT_NE(transcript.find("last point again"), std::string::npos);
}

TEST_F(LineCommandTest, EnterAtTheFirstPromptContinuesFromTheLastLine) {
  // Nothing to continue yet: the prompt repeats until ^C cancels.
  std::string transcript = run(L"LINE\n\n^C\nLINE 0,0 10,0\n\nLINE\n\n@0,5\n\n");
  EXPECT_NE(transcript.find("No line or arc to continue."), std::string::npos);
  auto lines = segments(*db_);
  ASSERT_EQ(lines.size(), 2u) << transcript;
  EXPECT_TRUE(near(lines[1].first, {10, 0, 0}));
  EXPECT_TRUE(near(lines[1].second, {10, 5, 0}));
}

TEST_F(LineCommandTest, ContinuingAfterAnArcFollowsItsEndTangent) {
  // The arc from (10,0) around (10,5) to (10,10) ends heading in -X.
  run(L"ARC 10,0 C 10,5 A 180\nLINE\n\n4\n\n");
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 2u) << transcript_;
  Opened<ZcDbLine> line(ids[1]);
  ASSERT_TRUE(line);
  EXPECT_TRUE(near(line->startPoint(), {10, 10, 0}));
  EXPECT_TRUE(near(line->endPoint(), {6, 10, 0}));
}

TEST_F(LineCommandTest, ACancelKeepsTheSegmentsDrawnAndUTakesTheWholeCommandBack) {
  run(L"LINE 0,0 10,0 10,10");  // the script ends while LINE waits: a cancel
  EXPECT_EQ(entities().size(), 2u);
  run(L"U\n");
  EXPECT_TRUE(entities().empty());
  run(L"LINE 0,0 10,0 10,10 C\nU\n");
  EXPECT_TRUE(entities().empty());
}

TEST_F(LineCommandTest, SegmentsSurviveSavingAsDxf) {
  run(L"LINE 0,0,1 10,0,1 10,10,2\n\n");
  std::unique_ptr<ZcDbDatabase> reloaded = savedAndReloaded();
  ASSERT_TRUE(reloaded);
  auto lines = segments(*reloaded);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(near(lines[0].first, {0, 0, 1}));
  EXPECT_TRUE(near(lines[1].second, {10, 10, 2}));
}

}  // namespace
}  // namespace draw_test
