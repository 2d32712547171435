// The colour calls of the host interface: index colours with red in the low byte, and the
// session's display colours read and changed.
#include <gtest/gtest.h>

#include "render/DisplayColors.h"

namespace {

TEST(DisplayColorsTest, IndexColoursHaveRedInTheLowByteAndTheBackgroundStartsBlack) {
  EXPECT_EQ(zcedGetRGB(1), 0x0000FFu) << "red";
  EXPECT_EQ(zcedGetRGB(3), 0x00FF00u) << "green";
  EXPECT_EQ(zcedGetRGB(5), 0xFF0000u) << "blue";
  EXPECT_EQ(zcedGetRGB(7), 0xFFFFFFu);
  EXPECT_EQ(zcedGetRGB(0), zcedGetRGB(7)) << "ByBlock and numbers off the table answer white";
  EXPECT_EQ(zcedGetRGB(300), zcedGetRGB(7));

  ZcColorSettings colors{};
  ASSERT_TRUE(zcedGetCurrentColors(&colors));
  EXPECT_EQ(colors.dwGfxModelBkColor, 0u);
  EXPECT_EQ(colors.dwGfxLayoutBkColor, 0xFFFFFFu);
  EXPECT_FALSE(zcedGetCurrentColors(nullptr));

  const ZcColorSettings before = colors;
  colors.dwGfxModelBkColor = zcedGetRGB(5);
  ASSERT_TRUE(zcedSetCurrentColors(&colors));
  EXPECT_EQ(vtcad::render::modelBackground(), (vtcad::render::Rgb{0, 0, 255}));
  ZcColorSettings restored = before;
  ASSERT_TRUE(zcedSetCurrentColors(&restored));
  EXPECT_EQ(vtcad::render::modelBackground(), (vtcad::render::Rgb{0, 0, 0}));
}

}  // namespace
