#include <gtest/gtest.h>

#include "DrawCommandTestSupport.h"
#include "zcad/db/ZcDbPoint.h"

namespace draw_test {
namespace {

using PointCommandTest = DrawCommandTest;

TEST_F(PointCommandTest, OnePointWhereTheUserSaysAfterShowingThePointModes) {
  std::string transcript = run(L"POINT 3,4,5\n");
  EXPECT_NE(transcript.find("Current point modes:  PDMODE=0  PDSIZE=0.0000"), std::string::npos)
      << transcript;
  Opened<ZcDbPoint> point(onlyEntity());
  ASSERT_TRUE(point);
  EXPECT_TRUE(near(point->position(), {3, 4, 5}));
}

TEST_F(PointCommandTest, ABadPointIsAskedAgainAndUTakesThePointBack) {
  std::string transcript = run(L"POINT nowhere 1,2\n");
  EXPECT_NE(transcript.find("Invalid point."), std::string::npos);
  EXPECT_EQ(entities().size(), 1u);
  run(L"U\n");
  EXPECT_TRUE(entities().empty());
}

}  // namespace
}  // namespace draw_test
