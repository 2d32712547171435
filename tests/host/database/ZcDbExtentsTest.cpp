#include <gtest/gtest.h>

#include <cmath>

#include "zcad/db/ZcDbExtents.h"

namespace {

TEST(ZcDbExtentsTest, BoxGrowsByPointsIgnoresNonFiniteAndTransformsItsCorners) {
  ZcDbExtents box;
  EXPECT_TRUE(box.isEmpty());
  box.addPoint({1, 2, 3});
  box.addPoint({NAN, 0, 0});
  box.addPoint({-1, 5, 0});
  EXPECT_FALSE(box.isEmpty());
  EXPECT_EQ(box.minPoint().x, -1.0);
  EXPECT_EQ(box.maxPoint().y, 5.0);
  box.expandBy({1, -1, 0});
  EXPECT_EQ(box.maxPoint().x, 2.0);
  EXPECT_EQ(box.minPoint().y, 1.0);

  ZcGeMatrix3d quarterTurn;  // rotation by 90 degrees about z, written out
  quarterTurn.entry[0][0] = 0;
  quarterTurn.entry[0][1] = -1;
  quarterTurn.entry[1][0] = 1;
  quarterTurn.entry[1][1] = 0;
  ZcDbExtents square({0, 0, 0}, {2, 1, 0});
  square.transformBy(quarterTurn);
  EXPECT_EQ(square.minPoint().x, -1.0);
  EXPECT_EQ(square.maxPoint().y, 2.0);

  EXPECT_EQ(box.set({1, 1, 1}, {0, 0, 0}), Zcad::eInvalidExtents);
  EXPECT_EQ(box.set({0, 0, 0}, {INFINITY, 0, 0}), Zcad::eInvalidInput);
}

}  // namespace
