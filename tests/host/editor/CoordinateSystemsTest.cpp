// zcedTrans between the world, user, display and object coordinate systems.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "WorkingDrawingFixture.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/zced.h"

namespace editor = vtcad::editor;

namespace {

using CoordinateSystemsTest = WorkingDrawingFixture;

resbuf code(short value) {
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = value;
  return rb;
}

resbuf extrusion(const ZcGeVector3d& direction) {
  resbuf rb{};
  rb.restype = RT3DPOINT;
  rb.resval.rpoint[0] = direction.x;
  rb.resval.rpoint[1] = direction.y;
  rb.resval.rpoint[2] = direction.z;
  return rb;
}

ZcGePoint3d trans(const ZcGePoint3d& p, const resbuf& from, const resbuf& to, bool displacement = false) {
  zds_point in = {p.x, p.y, p.z};
  zds_point out = {0, 0, 0};
  EXPECT_EQ(zcedTrans(in, &from, &to, displacement ? 1 : 0, out), RTNORM);
  return {out[0], out[1], out[2]};
}

ZcDbObjectId appendCircle(ZcDbDatabase& db, const ZcGePoint3d& center, const ZcGeVector3d& normal) {
  ZcDbBlockTableRecord* space = nullptr;
  ZcDbObjectId id;
  if (zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite) != Zcad::eOk) return id;
  auto* circle = new ZcDbCircle(center, normal, /*radius=*/2.0);
  if (space->appendZcDbEntity(id, circle) == Zcad::eOk) {
    circle->close();
  } else {
    delete circle;
  }
  space->close();
  return id;
}

TEST_F(CoordinateSystemsTest, ObjectSystemOfATiltedNormalRoundTripsAndKeepsDistances) {
  const resbuf world = code(0);
  const ZcGeVector3d normal = ZcGeVector3d(0.3, -0.5, 0.8).normal();
  const resbuf ocs = extrusion(normal * 7.0);  // the length of the direction does not matter

  // The object system's z axis is the normal; its x axis lies in the world's XY plane (the
  // arbitrary-axis rule for a normal this far from the world z).
  ZcGePoint3d zAxis = trans(ZcGePoint3d(0, 0, 1), ocs, world);
  EXPECT_TRUE((zAxis - ZcGePoint3d::kOrigin).isEqualTo(normal));
  EXPECT_NEAR(trans(ZcGePoint3d(1, 0, 0), ocs, world).z, 0.0, 1e-12);

  std::mt19937 random(11);
  std::uniform_real_distribution<double> coordinate(-1e4, 1e4);
  for (int i = 0; i < 100; ++i) {
    ZcGePoint3d a(coordinate(random), coordinate(random), coordinate(random));
    ZcGePoint3d b(coordinate(random), coordinate(random), coordinate(random));
    ZcGePoint3d aInOcs = trans(a, world, ocs);
    EXPECT_LE(trans(aInOcs, ocs, world).distanceTo(a), 1e-9);
    EXPECT_NEAR(aInOcs.distanceTo(trans(b, world, ocs)), a.distanceTo(b), 1e-9);
  }

  // A normal along the world z: the object system is the world.
  const ZcGePoint3d p(3, -4, 5);
  EXPECT_TRUE(trans(p, extrusion(ZcGeVector3d::kZAxis), world).isEqualTo(p));
}

TEST_F(CoordinateSystemsTest, EntityNamesMeanTheirObjectSystem) {
  const ZcGeVector3d normal = ZcGeVector3d(-1, 2, 2).normal();
  ZcDbObjectId id = appendCircle(db, ZcGePoint3d(5, 6, 7), normal);
  ASSERT_FALSE(id.isNull());
  resbuf entity{};
  entity.restype = RTENAME;
  ASSERT_EQ(zcdbGetZdsName(entity.resval.rlname, id), Zcad::eOk);

  const ZcGePoint3d p(1, 2, 3);
  EXPECT_TRUE(trans(p, entity, code(0)).isEqualTo(trans(p, extrusion(normal), code(0))));
  EXPECT_TRUE(trans(p, code(0), entity).isEqualTo(trans(p, code(0), extrusion(normal))));
}

TEST_F(CoordinateSystemsTest, UserAndPlanDisplaySystemsAreTheWorld) {
  const ZcGePoint3d p(12.5, -3, 4);
  EXPECT_TRUE(trans(p, code(0), code(1)).isEqualTo(p));
  EXPECT_TRUE(trans(p, code(1), code(2)).isEqualTo(p));
  EXPECT_TRUE(trans(p, code(2), code(3)).isEqualTo(p));
  EXPECT_TRUE(trans(p, code(3), code(2)).isEqualTo(p));
}

TEST_F(CoordinateSystemsTest, DisplacementsIgnoreTheOriginOfTheSystem) {
  // The display system has its origin at the view's target.
  changeActiveView([](ZcDbViewportTableRecord& record) { record.setTarget(ZcGePoint3d(100, 50, 0)); });
  const ZcGePoint3d p(110, 55, 1);
  EXPECT_TRUE(trans(p, code(0), code(2)).isEqualTo(ZcGePoint3d(10, 5, 1)));
  EXPECT_TRUE(trans(p, code(0), code(2), /*displacement=*/true).isEqualTo(p));
  EXPECT_TRUE(trans(ZcGePoint3d(10, 5, 1), code(2), code(0)).isEqualTo(p));

  // A displacement between turned systems turns: its length stays.
  const ZcGeVector3d move(3, 4, 12);
  ZcGePoint3d turned = trans(ZcGePoint3d::kOrigin + move, code(0), extrusion(ZcGeVector3d(1, 1, 0)),
                             /*displacement=*/true);
  EXPECT_NEAR(turned.distanceTo(ZcGePoint3d::kOrigin), move.length(), 1e-12);
}

TEST_F(CoordinateSystemsTest, SystemsThatNameNothingAnswerRtError) {
  const resbuf world = code(0);
  zds_point pt = {1, 2, 3};
  zds_point out = {0, 0, 0};
  const resbuf unknown = code(4);
  const resbuf negative = code(-1);
  const resbuf zero = extrusion(ZcGeVector3d(0, 0, 0));
  const resbuf notANumber = extrusion(ZcGeVector3d(std::nan(""), 0, 1));
  resbuf text{};
  text.restype = RTSTR;
  resbuf noEntity{};
  noEntity.restype = RTENAME;
  const resbuf* bads[] = {&unknown, &negative, &zero, &notANumber, &text, &noEntity, nullptr};
  for (const resbuf* bad : bads) {
    EXPECT_EQ(zcedTrans(pt, bad, &world, /*disp=*/0, out), RTERROR);
    EXPECT_EQ(zcedTrans(pt, &world, bad, /*disp=*/0, out), RTERROR);
  }
  // The paper-space display system only pairs with the display system.
  const resbuf paper = code(3);
  EXPECT_EQ(zcedTrans(pt, &paper, &world, /*disp=*/0, out), RTERROR);
  EXPECT_EQ(zcedTrans(pt, &world, &paper, /*disp=*/0, out), RTERROR);

  zds_point infinite = {std::numeric_limits<double>::infinity(), 0, 0};
  EXPECT_EQ(zcedTrans(infinite, &world, &world, /*disp=*/0, out), RTERROR);
  EXPECT_EQ(zcedTrans(nullptr, &world, &world, /*disp=*/0, out), RTERROR);
  EXPECT_EQ(zcedTrans(pt, &world, &world, /*disp=*/0, nullptr), RTERROR);

  // The result may be the input itself.
  const resbuf tilted = extrusion(ZcGeVector3d(1, 0, 1));
  zds_point same = {1, 2, 3};
  ASSERT_EQ(zcedTrans(same, &world, &tilted, /*disp=*/0, same), RTNORM);
  ASSERT_EQ(zcedTrans(same, &tilted, &world, /*disp=*/0, same), RTNORM);
  EXPECT_TRUE(ZcGePoint3d(same[0], same[1], same[2]).isEqualTo(ZcGePoint3d(1, 2, 3)));
}

}  // namespace
