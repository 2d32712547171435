#include <gtest/gtest.h>

#include <vector>

#include "geometry/ZcGeLinearSolve.h"

namespace {

TEST(ZcGeLinearSolveTest, TridiagonalAndCyclicSolutionsSatisfyTheSystem) {
  const std::vector<double> sub{0.3, 0.2, 0.25, 0.1, 0.4}, diag{0.5, 0.6, 0.5, 0.7, 0.4},
      super{0.2, 0.2, 0.25, 0.2, 0.2};
  const std::vector<double> x{1, -2, 3, 0.5, 4};
  const size_t n = x.size();
  std::vector<double> rhs(n);
  for (size_t i = 0; i < n; ++i)
    rhs[i] = diag[i] * x[i] + (i > 0 ? sub[i] * x[i - 1] : 0.0) + (i + 1 < n ? super[i] * x[i + 1] : 0.0);
  std::vector<double> sol = rhs;
  ASSERT_TRUE(zcge::solveTridiagonal(sub, diag, super, sol));
  for (size_t i = 0; i < n; ++i) EXPECT_NEAR(sol[i], x[i], 1e-12);

  for (size_t i = 0; i < n; ++i)
    rhs[i] = diag[i] * x[i] + sub[i] * x[(i + n - 1) % n] + super[i] * x[(i + 1) % n];
  sol = rhs;
  ASSERT_TRUE(zcge::solveCyclicTridiagonal(sub, diag, super, sol));
  for (size_t i = 0; i < n; ++i) EXPECT_NEAR(sol[i], x[i], 1e-12);
}

TEST(ZcGeLinearSolveTest, ZeroPivotIsReported) {
  std::vector<double> rhs{1, 1};
  EXPECT_FALSE(zcge::solveTridiagonal({0, 1}, {0, 1}, {1, 0}, rhs));
}

}  // namespace
