#include "CommandTestSupport.h"

namespace command_test {

::testing::AssertionResult near(const ZcGePoint3d& actual, const ZcGePoint3d& expected, double tolerance) {
  if (actual.distanceTo(expected) <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not (" << expected.x << ", "
         << expected.y << ", " << expected.z << ")";
}

::testing::AssertionResult near(const ZcGePoint2d& actual, const ZcGePoint2d& expected, double tolerance) {
  return near(ZcGePoint3d(actual.x, actual.y, 0.0), ZcGePoint3d(expected.x, expected.y, 0.0), tolerance);
}

}  // namespace command_test
