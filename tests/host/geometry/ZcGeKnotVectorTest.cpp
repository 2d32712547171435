#include <gtest/gtest.h>

#include "zcad/ge/ZcGeKnotVector.h"

namespace {

ZcGeKnotVector sample() {
  const double k[] = {0, 0, 0, 1, 2, 2, 3, 3, 3};
  return ZcGeKnotVector(9, k);
}

TEST(ZcGeKnotVectorTest, MultiplicityAndDistinctKnots) {
  const ZcGeKnotVector kv = sample();
  EXPECT_EQ(kv.length(), 9);
  EXPECT_EQ(kv.multiplicityAt(0), 3);  // index form
  EXPECT_EQ(kv.multiplicityAt(2.0), 2);
  EXPECT_EQ(kv.multiplicityAt(2.0 + 1e-12), 2);  // within the knot tolerance
  EXPECT_EQ(kv.multiplicityAt(1.5), 0);
  EXPECT_EQ(kv.numIntervals(), 3);
  ZcGeDoubleArray distinct;
  ZcGeIntArray mult;
  kv.getDistinctKnots(distinct, &mult);
  ASSERT_EQ(distinct.length(), 4);
  EXPECT_DOUBLE_EQ(distinct[3], 3.0);
  EXPECT_EQ(mult[0], 3);
  EXPECT_EQ(mult[2], 2);
  EXPECT_TRUE(kv.isOn(1.0));
  EXPECT_FALSE(kv.isOn(1.5));
  EXPECT_TRUE(kv.contains(1.5));
  EXPECT_FALSE(kv.contains(3.5));
}

TEST(ZcGeKnotVectorTest, ReverseTwiceIsIdentityAndKeepsRange) {
  ZcGeKnotVector kv = sample();
  kv.reverse();
  EXPECT_DOUBLE_EQ(kv.startParam(), 0.0);
  EXPECT_DOUBLE_EQ(kv.endParam(), 3.0);
  EXPECT_DOUBLE_EQ(kv[3], 1.0);  // 3 - 2
  EXPECT_TRUE(kv.isValid());
  kv.reverse();
  EXPECT_EQ(kv, sample());
}

TEST(ZcGeKnotVectorTest, InsertKeepsOrderAndValidity) {
  ZcGeKnotVector kv = sample();
  EXPECT_EQ(kv.insert(1.5), 4);
  EXPECT_TRUE(kv.isValid());
  kv.insertAt(0, -1.0, /*multiplicity=*/2);
  EXPECT_EQ(kv.multiplicityAt(-1.0), 2);
  kv.append(-5.0);  // the caller broke the order
  EXPECT_FALSE(kv.isValid());
}

}  // namespace
