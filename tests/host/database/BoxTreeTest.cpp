// The box tree answers exactly the boxes a comparison with every box answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "database/BoxTree.h"

namespace vtcad::db {
namespace {

TEST(BoxTree, AQueryFindsExactlyTheOverlappingBoxes) {
  std::mt19937 random(5);
  for (int round = 0; round < 60; ++round) {
    // Clustered and spread boxes, points and degenerate ones, some not finite.
    const int n = static_cast<int>(random() % 3000);
    const double spread = round % 3 == 0 ? 10.0 : 1000.0;
    std::uniform_real_distribution<double> at(-spread, spread), size(0.0, spread / 20.0);
    std::vector<Box2d> boxes;
    for (int i = 0; i < n; ++i) {
      const double x = at(random), y = at(random);
      const double w = i % 7 == 0 ? 0.0 : size(random), h = i % 5 == 0 ? 0.0 : size(random);
      boxes.push_back({x, y, x + w, y + h});
    }
    if (n > 10) boxes[3].xmax = std::numeric_limits<double>::quiet_NaN();
    const BoxTree tree(boxes);
    for (int q = 0; q < 20; ++q) {
      const double x = at(random), y = at(random), r = size(random) * (q % 4 == 0 ? 40.0 : 2.0);
      const Box2d query{x - r, y - r, x + r, y + r};
      std::vector<int> found;
      tree.query(query, [&](int i) {
        found.push_back(i);
        return true;
      });
      std::sort(found.begin(), found.end());
      std::vector<int> expected;
      for (int i = 0; i < n; ++i) {
        if (boxes[static_cast<std::size_t>(i)].overlaps(query)) expected.push_back(i);
      }
      ASSERT_EQ(found, expected) << "round " << round << " query " << q;
    }
  }
}

}  // namespace
}  // namespace vtcad::db
