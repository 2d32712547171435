// A hatch's pattern definition lines read back from the groups its file gave: random lists as
// written, and lists damaged part way giving the lines before the damage.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "database/HatchPatternLines.h"
#include "database/ZcDbFileAccess.h"
#include "zcad/db/ZcDbHatch.h"

namespace {

using vtcad::db::HatchPatternLine;

void keep(ZcDbHatch& hatch, Zdesk::Int16 code, const std::string& value) {
  ZcDbFileAccess::keptGroupsForWrite(&hatch).push_back({code, 2, value, {}});
}

std::string text(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

TEST(HatchPatternLines, RandomListsReadBackAsWritten) {
  std::mt19937 rng(78);
  std::uniform_real_distribution<double> any(-50.0, 50.0);
  for (int round = 0; round < 200; ++round) {
    ZcDbHatch hatch;
    keep(hatch, 2, "refused name kept before the lines");
    const int count = static_cast<int>(rng() % 4);
    std::vector<HatchPatternLine> written(static_cast<std::size_t>(count));
    keep(hatch, 78, std::to_string(count));
    for (HatchPatternLine& line : written) {
      const double degrees = any(rng) * 7;
      line.angle = degrees * M_PI / 180.0;
      line.base.set(any(rng), any(rng));
      line.offset.set(any(rng), any(rng));
      line.dashes.resize(rng() % 6);
      for (double& dash : line.dashes) dash = any(rng);
      keep(hatch, 53, text(degrees));
      keep(hatch, 43, text(line.base.x));
      keep(hatch, 44, text(line.base.y));
      keep(hatch, 45, text(line.offset.x));
      keep(hatch, 46, text(line.offset.y));
      keep(hatch, 79, std::to_string(line.dashes.size()));
      for (double dash : line.dashes) keep(hatch, 49, text(dash));
    }
    keep(hatch, 98, "0");  // the seed points that follow
    const std::vector<HatchPatternLine> read = vtcad::db::hatchPatternLines(hatch);
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
      EXPECT_NEAR(read[i].angle, written[i].angle, 1e-12);
      EXPECT_EQ(read[i].base, written[i].base);
      EXPECT_EQ(read[i].offset, written[i].offset);
      EXPECT_EQ(read[i].dashes, written[i].dashes);
    }
  }
}

TEST(HatchPatternLines, ADamagedListGivesTheLinesBeforeTheDamage) {
  ZcDbHatch none;
  EXPECT_TRUE(vtcad::db::hatchPatternLines(none).empty()) << "a hatch made here has no lines";

  ZcDbHatch h;  // the second line's dash list ends early
  keep(h, 78, "2");
  keep(h, 53, "0");
  keep(h, 46, "3");
  keep(h, 79, "0");
  keep(h, 53, "90");
  keep(h, 79, "2");
  keep(h, 49, "1");
  keep(h, 98, "0");
  const std::vector<HatchPatternLine> read = vtcad::db::hatchPatternLines(h);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_DOUBLE_EQ(read[0].offset.y, 3.0);

  ZcDbHatch garbled;  // a number that is not one ends the list
  keep(garbled, 78, "2");
  keep(garbled, 53, "45");
  keep(garbled, 45, "1.5");
  keep(garbled, 53, "x");
  EXPECT_EQ(vtcad::db::hatchPatternLines(garbled).size(), 1u);
}

}  // namespace
