// ZOOM through the command line: each way of choosing the view, checked on the drawing's
// "*Active" viewport record (a new drawing shows 0..420 x 0..297: aspect 420/297).
#include "EditCommandTestSupport.h"
#include "commands/CurrentView.h"
#include "editor/SystemVariables.h"
#include "zcad/db/ZcDbCircle.h"

namespace edit_test {
namespace {

constexpr double kAspect = 420.0 / 297.0;

class ZoomCommandTest : public EditCommandTest {
 protected:
  void SetUp() override {
    EditCommandTest::SetUp();
    // A screen of the new drawing's shape, so that the record and the screen agree.
    vtcad::editor::setScreenSize({420, 297});
  }
  vtcad::commands::ViewArea view() {
    vtcad::commands::ViewArea area;
    EXPECT_EQ(vtcad::commands::getCurrentView(db_.get(), area), Zcad::eOk);
    return area;
  }
  // The view shows centre `center`, `height` high, with the new drawing's aspect ratio.
  void expectView(const ZcGePoint2d& center, double height) {
    const vtcad::commands::ViewArea area = view();
    EXPECT_TRUE(near(area.center, center, 1e-9)) << transcript_;
    EXPECT_NEAR(area.height, height, 1e-9 * height) << transcript_;
    EXPECT_NEAR(area.width / area.height, kAspect, 1e-12) << "the aspect ratio is kept";
  }
};

TEST_F(ZoomCommandTest, WindowIsFittedWholeWithTheViewsAspectRatio) {
  run(L"ZOOM 0,0 100,50\n");  // wide: the width decides
  expectView({50, 25}, 100 / kAspect);
  run(L"ZOOM W 10,10 20,40\n");  // tall: the height decides
  expectView({15, 25}, 30);
  run(L"U\n");
  expectView({50, 25}, 100 / kAspect);
}

TEST_F(ZoomCommandTest, ExtentsShowsEveryEntityAndAnEmptyDrawingKeepsItsView) {
  run(L"ZOOM E\n");
  EXPECT_TRUE(said("The drawing is empty"));
  expectView({210, 148.5}, 297);

  addLine({0, 0, 0}, {100, 0, 0});
  addCircle({50, 50, 0}, /*radius=*/10);
  run(L"ZOOM E\n");
  expectView({50, 30}, 100 / kAspect);
}

TEST_F(ZoomCommandTest, AllTakesTheLimitsAndTheExtentsTogether) {
  addLine({0, 0, 0}, {1000, 10, 0});
  run(L"ZOOM A\n");
  expectView({500, 148.5}, 1000 / kAspect);
}

TEST_F(ZoomCommandTest, CenterTakesAHeightOrAMagnification) {
  run(L"ZOOM C 5,5 20\n");
  expectView({5, 5}, 20);
  run(L"ZOOM C -5,0 2x\n");
  expectView({-5, 0}, 10);
  run(L"ZOOM C 1,1 \n");  // Enter keeps the height
  expectView({1, 1}, 10);
}

TEST_F(ZoomCommandTest, ScaleFactorsAndPreviousViews) {
  run(L"ZOOM 2x\n");  // relative to the current view
  expectView({210, 148.5}, 148.5);
  run(L"ZOOM S .5X\n");
  expectView({210, 148.5}, 297);
  run(L"ZOOM 3\n");  // relative to the limits, whatever the current view
  expectView({210, 148.5}, 99);

  run(L"ZOOM P\n");
  expectView({210, 148.5}, 297);
  run(L"ZOOM P\n");
  expectView({210, 148.5}, 148.5);
  run(L"ZOOM P\n");
  expectView({210, 148.5}, 297);
  const std::string said = run(L"ZOOM P\n");
  EXPECT_NE(said.find("No previous view saved."), std::string::npos) << said;
}

TEST_F(ZoomCommandTest, ObjectFitsTheSelectedEntities) {
  const ZcDbObjectId circle = addCircle({-40, 10, 0}, /*radius=*/5);
  addLine({0, 0, 0}, {300, 0, 0});
  run(L"ZOOM O " + pick(circle) + L" \n");
  expectView({-40, 10}, 10);
}

// A window made narrower than the view it was given: the screen, not the record, decides what
// is seen, so the extents are fitted to the screen's shape and not cut off at the sides.
TEST_F(ZoomCommandTest, ExtentsFitTheScreenWhenItIsNarrowerThanTheRecordedView) {
  vtcad::editor::setScreenSize({300, 600});
  addLine({0, 0, 0}, {100, 0, 0});
  addLine({0, 0, 0}, {0, 20, 0});
  run(L"ZOOM E\n");
  const vtcad::commands::ViewArea area = view();
  EXPECT_NEAR(area.height, 200, 1e-9) << transcript_;
  EXPECT_NEAR(area.width, 100, 1e-9);
  EXPECT_TRUE(near(area.center, {50, 10}, 1e-9));
}

TEST_F(ZoomCommandTest, InputThatIsNoZoomIsAskedAgain) {
  const std::string said = run(L"ZOOM 2y\nE\n");
  EXPECT_NE(said.find("Requires a point"), std::string::npos) << said;
  EXPECT_TRUE(said.find("The drawing is empty") != std::string::npos) << said;
}

}  // namespace
}  // namespace edit_test
