#include <gtest/gtest.h>

#include "zcad/ge/ZcGeInterval.h"

namespace {

TEST(ZcGeIntervalTest, BoundsContainsLength) {
  ZcGeInterval i(3.0, 1.0);  // reversed input is swapped
  EXPECT_DOUBLE_EQ(i.lower(), 1.0);
  EXPECT_DOUBLE_EQ(i.upper(), 3.0);
  EXPECT_TRUE(i.isBounded());
  EXPECT_DOUBLE_EQ(i.length(), 2.0);
  EXPECT_DOUBLE_EQ(i.element(), 2.0);
  EXPECT_TRUE(i.contains(1.0));
  EXPECT_TRUE(i.contains(3.0 + 1e-13));
  EXPECT_FALSE(i.contains(3.1));
  EXPECT_TRUE(i.contains(ZcGeInterval(1.5, 2.5)));
}

TEST(ZcGeIntervalTest, Unbounded) {
  ZcGeInterval all;
  EXPECT_TRUE(all.isUnBounded());
  EXPECT_LT(all.length(), 0.0);
  EXPECT_TRUE(all.contains(1e300));
  ZcGeInterval below(/*boundedBelow=*/true, 2.0);
  EXPECT_TRUE(below.isBoundedBelow());
  EXPECT_FALSE(below.isBoundedAbove());
  EXPECT_FALSE(below.contains(1.0));
  EXPECT_TRUE(below.contains(1e9));
  below.setUpper(5.0);
  EXPECT_TRUE(below.isBounded());
  EXPECT_EQ(below, ZcGeInterval(2.0, 5.0));
}

}  // namespace
