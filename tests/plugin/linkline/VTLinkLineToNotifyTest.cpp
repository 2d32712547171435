// linkLineAuto and the link reactor on the command line: connectors drawn between the sides of
// two rectangles stay on those sides through every kind of edit, undo, and a save and reopen,
// as the saved drawing shows.
#include <cmath>
#include <numbers>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "commands/HostCommands.h"
#include "dxf/DxfFile.h"
#include "frame/LinkReactorClass.h"
#include "linkline/LinkLineCommands.h"
#include "linkline/SideMidpoints.h"
#include "linkline/VTLinkLineToNotify.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ed/ZcEdCommandStack.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace veltrace::testing {
namespace {

// Scaling about `centre`, then turning about it, then shifting.
ZcGeMatrix3d editMatrix(const ZcGeVector3d& shift, double angle, const ZcGePoint3d& centre, double factor) {
  ZcGeMatrix3d move, turn, scale;
  move.setToTranslation(shift);
  turn.setToRotation(angle, ZcGeVector3d::kZAxis, centre);
  scale.setToScaling(factor, centre);
  return move * turn * scale;
}

class LinkReactorTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    vtcad::commands::registerHostCommands();
    registerLinkReactorClass();
    zcedRegCmds()->addCommand(L"LinkReactorTest", L"linkLineAuto", L"linkLineAuto", 0, &linkLineAutoCommand);
    zcedRegCmds()->addCommand(L"LinkReactorTest", L"linkLine00", L"linkLine00", 0, &linkLine00Command);
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"LinkReactorTest");
    zcedRegCmds()->removeGroup(vtcad::commands::kHostGroup);
    FrameTest::TearDown();
    unregisterLinkReactorClass();
  }

  ZcDbObjectId addRectangle(double x0, double y0, double x1, double y1) {
    auto* outline = new ZcDbPolyline;
    outline->addVertexAt(0, ZcGePoint2d(x0, y0));
    outline->addVertexAt(1, ZcGePoint2d(x1, y0));
    outline->addVertexAt(2, ZcGePoint2d(x1, y1));
    outline->addVertexAt(3, ZcGePoint2d(x0, y1));
    outline->setClosed(true);
    return addToModelSpace(outline);
  }
  // Rectangle A (0,0)-(10,6) and B (30,0)-(40,6), a connector from A's right side to B's left.
  void drawLinkedPair() {
    a_ = addRectangle(0, 0, 10, 6);
    b_ = addRectangle(30, 0, 40, 6);
    run(L"linkLineAuto\n10,3\n30,3\n");
  }
  // The drawing as saved and read back becomes the working drawing; the three entities are
  // found again in drawing order.
  void reload() {
    vtcad::dxf::LoadResult reloaded = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
    ASSERT_TRUE(reloaded.ok()) << reloaded.refusal;
    zcdbHostApplicationServices()->setWorkingDatabase(reloaded.database.get());
    db_ = std::move(reloaded.database);
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    ASSERT_GE(space->entityIds().size(), 3u);
    a_ = space->entityIds()[0];
    b_ = space->entityIds()[1];
  }
  ZcDbObjectId connector() const {
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds())
      if (!id.isErased() && Opened<ZcDbSpline>(id)) return id;
    return {};
  }
  static std::pair<ZcGePoint3d, ZcGePoint3d> endsOf(ZcDbObjectId id) {
    Opened<ZcDbSpline> spline(id);
    ZcGePoint3d s(1e300, 0, 0), e(1e300, 0, 0);
    if (spline) {
      spline->getFitPointAt(0, s);
      spline->getFitPointAt(spline->numFitPoints() - 1, e);
    }
    return {s, e};
  }
  static SideMidpoints sidesOf(ZcDbObjectId id) {
    Opened<ZcDbEntity> entity(id);
    return entity ? sideMidpointsOf(*entity.get()).sides : SideMidpoints{};
  }
  // The connector, read from the saved drawing, runs from A's right side to B's left side.
  void expectAttachedInTheSavedDrawing(const char* after) {
    vtcad::dxf::LoadResult saved = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
    ASSERT_TRUE(saved.ok());
    Opened<ZcDbBlockTableRecord> space(saved.database->modelSpaceId());
    ASSERT_EQ(space->entityIds().size(), 3u) << after;
    const SideMidpoints a = [&] {
      Opened<ZcDbEntity> e(space->entityIds()[0]);
      return sideMidpointsOf(*e.get()).sides;
    }();
    const SideMidpoints b = [&] {
      Opened<ZcDbEntity> e(space->entityIds()[1]);
      return sideMidpointsOf(*e.get()).sides;
    }();
    const auto [s, e] = endsOf(space->entityIds()[2]);
    EXPECT_TRUE(closeTo(s, a.right, 1e-9)) << after;
    EXPECT_TRUE(closeTo(e, b.left, 1e-9)) << after;
  }
  std::wstring reactorOf(ZcDbObjectId id) const {
    Opened<ZcDbObject> object(id);
    const ZcDbVoidPtrArray* reactors = object->reactors();
    for (int i = 0; i < reactors->length(); ++i)
      if (zcdbIsPersistentReactor(reactors->at(i))) {
        Opened<ZcDbObject> reactor(zcdbPersistentReactorObjectId(reactors->at(i)));
        return reactor && reactor->isA() ? reactor->isA()->name() : L"?";
      }
    return L"";
  }
  int persistentReactorCount(ZcDbObjectId id) const {
    Opened<ZcDbObject> object(id);
    int count = 0;
    const ZcDbVoidPtrArray* reactors = object->reactors();
    for (int i = 0; i < reactors->length(); ++i) count += zcdbIsPersistentReactor(reactors->at(i)) ? 1 : 0;
    return count;
  }

  ZcDbObjectId a_, b_;
};

TEST_F(LinkReactorTest, TheConnectorLeavesAndEntersTheSidesAndBothCurvesCarryTheReactor) {
  drawLinkedPair();
  const ZcDbObjectId c = connector();
  ASSERT_FALSE(c.isNull()) << transcript_;
  Opened<ZcDbSpline> spline(c);
  double start = 0, end = 0;
  spline->getStartParam(start);
  spline->getEndParam(end);
  ZcGeVector3d s, e;
  spline->getFirstDeriv(start, s);
  spline->getFirstDeriv(end, e);
  EXPECT_TRUE(s.normal().isEqualTo(ZcGeVector3d(1, 0, 0)));
  EXPECT_TRUE(e.normal().isEqualTo(ZcGeVector3d(1, 0, 0)));
  EXPECT_EQ(reactorOf(a_), L"VTLinkLineToNotify");
  EXPECT_EQ(reactorOf(b_), L"VTLinkLineToNotify");
  // The reactors are entries of "VTRC_DICT" under GUID keys.
  ZcDbDictionary* named = nullptr;
  ASSERT_EQ(db_->getNamedObjectsDictionary(named, ZcDb::kForRead), Zcad::eOk);
  ZcDbObjectId dictId;
  EXPECT_EQ(named->getAt(L"VTRC_DICT", dictId), Zcad::eOk);
  named->close();
  const std::string saved = vtcad::dxf::writeDxf(*db_);
  const std::regex key("\\{V-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");
  EXPECT_EQ(std::distance(std::sregex_iterator(saved.begin(), saved.end(), key), std::sregex_iterator()), 2);
  // A second connector on A adds no second reactor.
  run(L"linkLineAuto\n5,6\n35,6\n");
  EXPECT_EQ(persistentReactorCount(a_), 1);
}

TEST_F(LinkReactorTest, AnEndOnNoSideTakesTheTwoPointDirectionAndAttachesNothing) {
  a_ = addRectangle(0, 0, 10, 6);
  run(L"linkLineAuto\n10,3\n50,40\n");
  EXPECT_EQ(reactorOf(a_), L"VTLinkLineToNotify");
  // Open curves are never sides: the line gets no reactor.
  const ZcDbObjectId line = addToModelSpace(new ZcDbLine(ZcGePoint3d(60, 0, 0), ZcGePoint3d(60, 10, 0)));
  run(L"linkLineAuto\n60,5\n80,5\n");
  EXPECT_EQ(persistentReactorCount(line), 0);
}

struct EditKind {
  const char* name;
  // The script that edits rectangle A, given its pick.
  std::wstring (*script)(const std::wstring& a);
};

class LinkReactorEditTest : public LinkReactorTest, public ::testing::WithParamInterface<EditKind> {};

TEST_P(LinkReactorEditTest, TheConnectorFollowsItsSide) {
  drawLinkedPair();
  body() = [this] {
    ZcDbEntity* entity = nullptr;
    ASSERT_EQ(zcdbOpenObject(entity, a_, ZcDb::kForWrite), Zcad::eOk);
    entity->transformBy(editMatrix(ZcGeVector3d(-7, 12, 0), 0.4, ZcGePoint3d(5, 3, 0), 1.0));
    entity->close();
  };
  run(GetParam().script(pick(a_)));
  const auto [s, e] = endsOf(connector());
  EXPECT_FALSE(closeTo(s, ZcGePoint3d(10, 3, 0))) << "A was not changed: " << transcript_;
  expectAttachedInTheSavedDrawing(GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    EveryEdit, LinkReactorEditTest,
    ::testing::Values(
        EditKind{"MOVE", [](const std::wstring& a) { return L"MOVE " + a + L" \n0,0\n5,-8\n"; }},
        EditKind{"SCALE", [](const std::wstring& a) { return L"SCALE " + a + L" \n0,0\n2.5\n"; }},
        EditKind{"ROTATE", [](const std::wstring& a) { return L"ROTATE " + a + L" \n2,1\n30\n"; }},
        EditKind{"MIRROR", [](const std::wstring& a) { return L"MIRROR " + a + L" \n-5,0\n-5,1\nY\n"; }},
        EditKind{"PEDIT", [](const std::wstring& a) { return L"PEDIT " + a + L"\nF\n\n"; }},
        EditKind{"transformBy", [](const std::wstring&) { return std::wstring(L"T\n"); }}),
    [](const ::testing::TestParamInfo<EditKind>& info) { return std::string(info.param.name); });

TEST_F(LinkReactorTest, CopyingLeavesTheSourceAndTheConnectorAlone) {
  drawLinkedPair();
  run(L"COPY " + pick(a_) + L" \n0,0\n0,20\n\n");
  const auto [s, e] = endsOf(connector());
  EXPECT_TRUE(closeTo(s, ZcGePoint3d(10, 3, 0)));
  EXPECT_TRUE(closeTo(e, ZcGePoint3d(30, 3, 0)));
}

TEST_F(LinkReactorTest, UndoTakesTheEditAndTheConnectorBackTogetherAndRedoBringsBoth) {
  drawLinkedPair();
  run(L"MOVE " + pick(a_) + L" \n0,0\n0,10\n");
  EXPECT_TRUE(closeTo(endsOf(connector()).first, ZcGePoint3d(10, 13, 0)));
  run(L"U\n");
  EXPECT_TRUE(closeTo(sidesOf(a_).right, ZcGePoint3d(10, 3, 0)));
  EXPECT_TRUE(closeTo(endsOf(connector()).first, ZcGePoint3d(10, 3, 0)));
  run(L"REDO\n");
  EXPECT_TRUE(closeTo(endsOf(connector()).first, ZcGePoint3d(10, 13, 0)));
  // And the reactor still works after undo and redo.
  run(L"MOVE " + pick(a_) + L" \n0,0\n5,0\n");
  expectAttachedInTheSavedDrawing("after undo and redo");
}

TEST_F(LinkReactorTest, OnlyMovedMidpointsMoveConnectorsAndOnlyTheEndsOnThem) {
  drawLinkedPair();
  // A spline in A's window whose ends lie on no side midpoint, and one drawn after it.
  run(L"linkLine00\n2,-0.1\n8,-0.1\n");
  const ZcDbObjectId stray = [&] {
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    return space->entityIds().back();
  }();
  const auto strayBefore = endsOf(stray);
  {
    ZcDbEntity* entity = nullptr;
    ASSERT_EQ(zcdbOpenObject(entity, a_, ZcDb::kForWrite), Zcad::eOk);
    entity->setColorIndex(1);
    entity->close();
  }
  EXPECT_TRUE(closeTo(endsOf(connector()).first, ZcGePoint3d(10, 3, 0))) << "the colour moved nothing";
  run(L"MOVE " + pick(a_) + L" \n0,0\n3,0\n");
  EXPECT_TRUE(closeTo(endsOf(connector()).first, ZcGePoint3d(13, 3, 0)));
  EXPECT_TRUE(closeTo(endsOf(connector()).second, ZcGePoint3d(30, 3, 0)));
  EXPECT_TRUE(closeTo(endsOf(stray).first, strayBefore.first));
  EXPECT_TRUE(closeTo(endsOf(stray).second, strayBefore.second));
}

TEST_F(LinkReactorTest, AConnectorJoiningTwoSidesOfOneCurveKeepsBothEnds) {
  a_ = addRectangle(0, 0, 10, 6);
  run(L"linkLineAuto\n10,3\n5,6\n");
  run(L"MOVE " + pick(a_) + L" \n0,0\n4,4\n");
  const auto [s, e] = endsOf(connector());
  EXPECT_TRUE(closeTo(s, ZcGePoint3d(14, 7, 0)));
  EXPECT_TRUE(closeTo(e, ZcGePoint3d(9, 10, 0)));
}

TEST_F(LinkReactorTest, TheConnectorFollowsAfterASaveAndReopen) {
  drawLinkedPair();
  reload();
  EXPECT_EQ(reactorOf(a_), L"VTLinkLineToNotify") << "a live object of the plug-in's class";
  run(L"MOVE " + pick(a_) + L" \n0,0\n-4,9\n");
  expectAttachedInTheSavedDrawing("after reopening");
}

TEST_F(LinkReactorTest, WithoutThePluginTheReactorsAreKeptWholeAndLiveAgainWithIt) {
  drawLinkedPair();
  const std::string withPlugin = vtcad::dxf::writeDxf(*db_);
  unregisterLinkReactorClass();
  vtcad::dxf::LoadResult without = vtcad::dxf::readDxf(withPlugin);
  ASSERT_TRUE(without.ok());
  const std::string keptText = vtcad::dxf::writeDxf(*without.database);
  EXPECT_EQ(keptText, withPlugin);
  registerLinkReactorClass();
  vtcad::dxf::LoadResult again = vtcad::dxf::readDxf(keptText);
  ASSERT_TRUE(again.ok());
  zcdbHostApplicationServices()->setWorkingDatabase(again.database.get());
  db_ = std::move(again.database);
  {
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    a_ = space->entityIds()[0];
  }
  run(L"MOVE " + pick(a_) + L" \n0,0\n6,6\n");
  expectAttachedInTheSavedDrawing("after a round trip without the plug-in");
}

TEST_F(LinkReactorTest, ACurveWithAnotherApplicationsReactorGetsNone) {
  a_ = addRectangle(0, 0, 10, 6);
  ZcDbObjectId other;
  {
    ZcDbDictionary* named = nullptr;
    ASSERT_EQ(db_->getNamedObjectsDictionary(named, ZcDb::kForWrite), Zcad::eOk);
    auto* dictionary = new ZcDbDictionary;
    named->setAt(L"SOMEONE_ELSE", dictionary, other);
    dictionary->close();
    named->close();
    ZcDbObject* curve = nullptr;
    ASSERT_EQ(zcdbOpenObject(curve, a_, ZcDb::kForWrite), Zcad::eOk);
    curve->addPersistentReactor(other);
    curve->close();
  }
  run(L"linkLineAuto\n10,3\n30,3\n");
  EXPECT_EQ(persistentReactorCount(a_), 1);
}

// Random moves, turns and scalings of either rectangle, through host commands and through
// transformBy: after each, both connector ends sit on their sides.
TEST_F(LinkReactorTest, EndsStayOnTheirSidesThroughRandomEdits) {
  drawLinkedPair();
  std::mt19937 random(20261208);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int step = 0; step < 60; ++step) {
    const bool onA = unit(random) < 0.5;
    const ZcDbObjectId target = onA ? a_ : b_;
    const SideMidpoints sides = sidesOf(target);
    const ZcGePoint3d centre((sides.left.x + sides.right.x) / 2, (sides.bottom.y + sides.top.y) / 2, 0);
    const double size = sides.left.distanceTo(sides.right) + sides.bottom.distanceTo(sides.top);
    // Sizes stay between 8 and 60 so that the sides keep apart.
    double factor = 0.7 + 0.7 * unit(random);
    if (size * factor < 8 || size * factor > 60) factor = 1.0 / factor;
    const ZcGeVector3d shift(100 * unit(random) - 50, 100 * unit(random) - 50, 0);
    const double angle = 2 * std::numbers::pi * unit(random);
    const int kind = static_cast<int>(4 * unit(random));
    wchar_t script[200];
    switch (kind) {
      case 0:
        std::swprintf(script, 200, L"MOVE %ls \n0,0\n%.6f,%.6f\n", pick(target).c_str(), shift.x, shift.y);
        run(script);
        break;
      case 1:
        std::swprintf(script, 200, L"ROTATE %ls \n%.6f,%.6f\n%.6f\n", pick(target).c_str(), centre.x,
                      centre.y, angle * 180 / std::numbers::pi);
        run(script);
        break;
      case 2:
        std::swprintf(script, 200, L"SCALE %ls \n%.6f,%.6f\n%.6f\n", pick(target).c_str(), centre.x, centre.y,
                      factor);
        run(script);
        break;
      default:
        body() = [&] {
          ZcDbEntity* entity = nullptr;
          ASSERT_EQ(zcdbOpenObject(entity, target, ZcDb::kForWrite), Zcad::eOk);
          entity->transformBy(editMatrix(shift, angle, centre, factor));
          entity->close();
        };
        run(L"T\n");
    }
    const auto [s, e] = endsOf(connector());
    ASSERT_TRUE(closeTo(s, sidesOf(a_).right, 1e-6)) << "step " << step << " kind " << kind;
    ASSERT_TRUE(closeTo(e, sidesOf(b_).left, 1e-6)) << "step " << step << " kind " << kind;
  }
}

}  // namespace
}  // namespace veltrace::testing
