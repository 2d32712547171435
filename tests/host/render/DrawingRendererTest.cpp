// A drawing's picture end to end: where things land (the view's own pixels), their colours,
// what is left out, blocks, and every kind of entity drawing something.
#include <gtest/gtest.h>

#include <random>

#include "RenderTestSupport.h"
#include "host/editor/WorkingDrawingFixture.h"
#include "render/DrawingRenderer.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/zced.h"

namespace {

using render_test::addEntity;
using render_test::Image;
using vtcad::editor::ViewTransform;
using vtcad::render::RenderOptions;
using vtcad::render::Rgb;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};

class DrawingRendererTest : public WorkingDrawingFixture {
 protected:
  // A 200 x 100 picture of 0..200 x 0..100, one unit a pixel.
  ViewTransform view() const { return ViewTransform(ZcGePoint2d(100, 50), 100, {200, 100}); }
  Image picture(const RenderOptions& options = {}) { return render_test::renderImage(&db, view(), options); }
  // The pixel that shows world point (x, y) in view().
  static Rgb at(const Image& image, double x, double y) {
    return image.at(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(100 - y)));
  }
  static ZcCmColor index(int i) {
    ZcCmColor color;
    color.setColorIndex(static_cast<Zdesk::UInt16>(i));
    return color;
  }
  static RenderOptions on(Rgb background, const std::unordered_set<ZcDbObjectId>* only = nullptr) {
    RenderOptions options;
    options.background = background;
    options.only = only;
    return options;
  }
  ZcDbEntity* colored(ZcDbEntity* entity, int colorIndex) {
    entity->setColor(index(colorIndex));
    return entity;
  }
};

TEST_F(DrawingRendererTest, APixelShowsThePointCoordFromPixelToWorldNamesForIt) {
  // Points as dots at random pixels of random views of the working drawing on its screen:
  // the brightest pixel of each dot is the pixel asked for, its neighbours even on both sides.
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> center(-1e3, 1e3);
  std::uniform_real_distribution<double> height(1.0, 1e4);
  const vtcad::editor::ScreenSize screen = ViewTransform::current().screen();
  std::uniform_int_distribution<int> px(2, screen.width - 3), py(2, screen.height - 3);
  for (int round = 0; round < 20; ++round) {
    changeActiveView([&](ZcDbViewportTableRecord& record) {
      record.setCenterPoint(ZcGePoint2d(center(rng), center(rng)));
      record.setHeight(height(rng));
    });
    const CPoint pixel{px(rng), py(rng)};
    ZcGePoint3d world;
    ASSERT_TRUE(zcedCoordFromPixelToWorld(pixel, world));
    const ZcDbObjectId id = addEntity(db, new ZcDbPoint(world));
    const Image image = render_test::renderImage(&db, ViewTransform::current());
    const auto level = [&](int dx, int dy) { return image.at(pixel.x + dx, pixel.y + dy).red; };
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) EXPECT_LE(level(dx, dy), level(0, 0)) << round;
    }
    EXPECT_GT(level(0, 0), 128) << round;
    EXPECT_NEAR(level(-1, 0), level(1, 0), 2) << round;
    EXPECT_NEAR(level(0, -1), level(0, 1), 2) << round;
    ZcDbEntity* point = nullptr;
    ASSERT_EQ(zcdbOpenObject(point, id, ZcDb::kForWrite), Zcad::eOk);
    point->erase();
    point->close();
  }
}

TEST_F(DrawingRendererTest, ColoursFollowLayersIndexesTrueColoursAndTheBackground) {
  const ZcDbObjectId redLayer = render_test::addLayer(db, L"RED", 1);
  // addEntity gives the drawing's defaults: the layer and the true colour are set after it.
  std::vector<ZcDbObjectId> ids{addEntity(db, new ZcDbLine({10, 10, 0}, {10, 90, 0})),
                                addEntity(db, colored(new ZcDbLine({30, 10, 0}, {30, 90, 0}), 5)),
                                addEntity(db, new ZcDbLine({50, 10, 0}, {50, 90, 0})),
                                addEntity(db, colored(new ZcDbLine({70, 10, 0}, {70, 90, 0}), 7))};
  ZcDbEntity* entity = nullptr;
  ASSERT_EQ(zcdbOpenObject(entity, ids[0], ZcDb::kForWrite), Zcad::eOk);
  entity->setLayer(redLayer);
  entity->close();
  ASSERT_EQ(zcdbOpenObject(entity, ids[2], ZcDb::kForWrite), Zcad::eOk);
  ZcCmColor orange;
  orange.setRGB(255, 128, 0);
  entity->setColor(orange);
  entity->close();

  const Image dark = picture();
  EXPECT_EQ(at(dark, 10, 50), kRed) << "ByLayer";
  EXPECT_EQ(at(dark, 30, 50), kBlue) << "index 5";
  EXPECT_EQ(at(dark, 50, 50), (Rgb{255, 128, 0})) << "true colour";
  EXPECT_EQ(at(dark, 70, 50), kWhite) << "index 7 on black";
  EXPECT_EQ(at(dark, 90, 50), kBlack) << "background";
  const Image light = picture(on(kWhite));
  EXPECT_EQ(at(light, 70, 50), kBlack) << "index 7 on white";
  EXPECT_EQ(at(light, 90, 50), kWhite);
}

TEST_F(DrawingRendererTest, HiddenLayersInvisibleEntitiesAndUnselectedOnesAreLeftOut) {
  const ZcDbObjectId off = render_test::addLayer(db, L"OFF", 1, /*off=*/true);
  const ZcDbObjectId frozen = render_test::addLayer(db, L"FROZEN", 1, /*off=*/false, /*frozen=*/true);
  const ZcDbObjectId a = addEntity(db, new ZcDbLine({10, 10, 0}, {10, 90, 0}));
  const ZcDbObjectId b = addEntity(db, new ZcDbLine({30, 10, 0}, {30, 90, 0}));
  const ZcDbObjectId c = addEntity(db, new ZcDbLine({50, 10, 0}, {50, 90, 0}));
  const ZcDbObjectId d = addEntity(db, new ZcDbLine({70, 10, 0}, {70, 90, 0}));
  ZcDbEntity* entity = nullptr;
  ASSERT_EQ(zcdbOpenObject(entity, a, ZcDb::kForWrite), Zcad::eOk);
  entity->setLayer(off);
  entity->close();
  ASSERT_EQ(zcdbOpenObject(entity, b, ZcDb::kForWrite), Zcad::eOk);
  entity->setLayer(frozen);
  entity->close();
  ASSERT_EQ(zcdbOpenObject(entity, c, ZcDb::kForWrite), Zcad::eOk);
  entity->setVisibility(ZcDb::kInvisible);
  entity->close();

  const Image all = picture();
  EXPECT_EQ(at(all, 10, 50), kBlack) << "layer off";
  EXPECT_EQ(at(all, 30, 50), kBlack) << "layer frozen";
  EXPECT_EQ(at(all, 50, 50), kBlack) << "invisible";
  EXPECT_EQ(at(all, 70, 50), kWhite);

  const std::unordered_set<ZcDbObjectId> selection{c};
  const Image selected = picture(on(kBlack, &selection));
  EXPECT_EQ(render_test::countNot(selected, kBlack), 0) << "a selection of an invisible entity draws nothing";
  const std::unordered_set<ZcDbObjectId> visible{d};
  EXPECT_GT(render_test::countNot(picture(on(kBlack, &visible)), kBlack), 100);
}

TEST_F(DrawingRendererTest, NestedBlockReferencesCarryTransformsLayersAndByBlockColours) {
  // INNER: a ByBlock circle of radius 5 about (10, 0) on layer "0".
  auto* circle = new ZcDbCircle({10, 0, 0}, ZcGeVector3d::kZAxis, 5);
  circle->setColor(index(0));
  const ZcDbObjectId inner = render_test::addBlock(db, L"INNER", {circle});
  // OUTER: INNER turned a quarter turn, in green.
  auto* ref = new ZcDbBlockReference({0, 0, 0}, inner);
  ref->setRotation(M_PI / 2);
  ref->setColor(index(3));
  const ZcDbObjectId outer = render_test::addBlock(db, L"OUTER", {ref});
  // OUTER at (100, 50), twice the size: the circle's centre lands on (100, 70), radius 10.
  auto* top = new ZcDbBlockReference({100, 50, 0}, outer);
  top->setScaleFactors(ZcGeScale3d(2, 2, 2));
  addEntity(db, top);
  const Image image = picture();
  EXPECT_EQ(at(image, 110, 70), kGreen) << "east on the circle";
  EXPECT_EQ(at(image, 100, 80), kGreen) << "north on the circle";
  EXPECT_EQ(at(image, 100, 70), kBlack) << "its centre";
  EXPECT_EQ(at(image, 120, 50), kBlack) << "where it would be without the turn";
}

TEST_F(DrawingRendererTest, EveryKindOfEntityDrawsWhereItIs) {
  // One entity in each 40 x 50 cell; each cell gets ink, the picture's rest stays dark.
  ZcGePoint3dArray fit;
  fit.append({45, 5, 0});
  fit.append({55, 40, 0});
  fit.append({75, 10, 0});
  ZcGePoint3dArray frame;
  frame.append({85, 5, 0});
  frame.append({115, 45, 0});
  frame.append({115, 5, 0});
  ZcGePoint3dArray space;
  space.append({125, 5, 3});
  space.append({155, 45, -7});
  auto* wide = new ZcDbPolyline;
  wide->addVertexAt(0, {5, 55}, 0.5);
  wide->addVertexAt(1, {35, 90});
  wide->setConstantWidth(4);
  db.setPdmode(3);
  const std::vector<ZcDbEntity*> entities{new ZcDbEllipse({20, 25, 0}, ZcGeVector3d::kZAxis, {15, 0, 0}, 0.5),
                                          new ZcDbSpline(fit),
                                          new ZcDb2dPolyline(ZcDb::k2dSimplePoly, frame),
                                          new ZcDb3dPolyline(ZcDb::k3dSimplePoly, space),
                                          new ZcDbArc({180, 25, 0}, 15, 0, M_PI),
                                          wide,
                                          new ZcDbPoint({60, 75, 0}),
                                          new ZcDbLine({85, 55, 0}, {115, 95, 0}),
                                          new ZcDbCircle({140, 75, 0}, ZcGeVector3d::kZAxis, 15)};
  for (ZcDbEntity* entity : entities) addEntity(db, entity);
  const Image image = picture();
  for (int cell = 0; cell < 10; ++cell) {
    const int x0 = (cell % 5) * 40, y0 = (cell / 5) * 50;
    int ink = 0;
    for (int y = y0; y < y0 + 50; ++y) {
      for (int x = x0; x < x0 + 40; ++x) ink += image.at(x, 99 - y) == kBlack ? 0 : 1;
    }
    if (cell == 9) {
      EXPECT_EQ(ink, 0) << "the empty cell";
    } else {
      EXPECT_GT(ink, 20) << "cell " << cell;
    }
  }
  // The wide polyline is filled across its width (4 units), a thin one is not.
  EXPECT_EQ(at(image, 5 + 1.5, 55), kWhite);
}

}  // namespace
