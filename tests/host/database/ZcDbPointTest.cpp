#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "database/MemoryDwgFiler.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/ge/ZcGe.h"

namespace {

TEST(ZcDbPointTest, ExtentsAreThePointAndItsExtrusion) {
  ZcDbPoint point({1, 2, 3});
  ZcDbExtents box;
  ASSERT_EQ(point.getGeomExtents(box), Zcad::eOk);
  EXPECT_TRUE(box.minPoint().isEqualTo({1, 2, 3}));
  EXPECT_TRUE(box.maxPoint().isEqualTo({1, 2, 3}));
  ASSERT_EQ(point.setThickness(-2.0), Zcad::eOk);
  ASSERT_EQ(point.getGeomExtents(box), Zcad::eOk);
  EXPECT_TRUE(box.minPoint().isEqualTo({1, 2, 1}));
}

TEST(ZcDbPointTest, TransformMovesThePointAndTurnsItsSymbol) {
  ZcDbPoint point({1, 0, 0});
  ASSERT_EQ(point.setEcsRotation(0.25), Zcad::eOk);
  ASSERT_EQ(point.transformBy(ZcGeMatrix3d::rotation(0.5, ZcGeVector3d::kZAxis)), Zcad::eOk);
  EXPECT_TRUE(point.position().isEqualTo({std::cos(0.5), std::sin(0.5), 0}));
  EXPECT_NEAR(point.ecsRotation(), 0.75, 1e-12);
  // Turned upside down about the x axis: the normal flips, the symbol keeps pointing its way.
  ASSERT_EQ(point.transformBy(ZcGeMatrix3d::rotation(ZcGe::kPi, ZcGeVector3d::kXAxis)), Zcad::eOk);
  EXPECT_TRUE(point.normal().isEqualTo({0, 0, -1}));
}

TEST(ZcDbPointTest, BadInputIsRefusedAndFieldsSurviveFiling) {
  ZcDbPoint point({1, 2, 3});
  EXPECT_EQ(point.setPosition({std::nan(""), 0, 0}), Zcad::eInvalidInput);
  EXPECT_EQ(point.setNormal({0, 0, 0}), Zcad::eInvalidInput);
  EXPECT_EQ(point.setEcsRotation(INFINITY), Zcad::eInvalidInput);
  ASSERT_EQ(point.setNormal({0, 3, 4}), Zcad::eOk);
  ASSERT_EQ(point.setThickness(1.5), Zcad::eOk);
  ASSERT_EQ(point.setEcsRotation(0.3), Zcad::eOk);
  MemoryDwgFiler filer;
  ASSERT_EQ(point.dwgOutFields(&filer), Zcad::eOk);
  filer.rewind();
  ZcDbPoint copy;
  ASSERT_EQ(copy.dwgInFields(&filer), Zcad::eOk);
  EXPECT_TRUE(copy.position().isEqualTo({1, 2, 3}));
  EXPECT_TRUE(copy.normal().isEqualTo({0, 0.6, 0.8}));
  EXPECT_EQ(copy.thickness(), 1.5);
  EXPECT_EQ(copy.ecsRotation(), 0.3);
}

}  // namespace
