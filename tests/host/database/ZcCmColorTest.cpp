// Colours and the index palette.
#include <gtest/gtest.h>

#include "zcad/db/ZcCmColor.h"

namespace {

TEST(ZcCmColorTest, PaletteHasTheNamedColoursAndTheShadeLayout) {
  EXPECT_EQ(zcdbPaletteRgb(1), 0xFF0000u);
  EXPECT_EQ(zcdbPaletteRgb(2), 0xFFFF00u);
  EXPECT_EQ(zcdbPaletteRgb(5), 0x0000FFu);
  EXPECT_EQ(zcdbPaletteRgb(7), 0xFFFFFFu);
  EXPECT_EQ(zcdbPaletteRgb(0), 0x000000u);
  EXPECT_EQ(zcdbPaletteRgb(10), 0xFF0000u);
  EXPECT_EQ(zcdbPaletteRgb(11), 0xFF7F7Fu);
  EXPECT_EQ(zcdbPaletteRgb(20), 0xFF3F00u);
  EXPECT_EQ(zcdbPaletteRgb(250), 0x333333u);
  EXPECT_EQ(zcdbPaletteRgb(256), 0u);
}

TEST(ZcCmColorTest, EveryPaletteColourGivenAsTrueColourMapsBackToAnEntryOfTheSameRgb) {
  for (int i = 1; i < 256; ++i) {
    Zdesk::UInt32 rgb = zcdbPaletteRgb(i);
    ZcCmColor color;
    color.setRGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    EXPECT_EQ(zcdbPaletteRgb(color.colorIndex()), rgb) << "index " << i;
  }
  ZcCmColor nearRed;
  nearRed.setRGB(250, 3, 2);
  EXPECT_EQ(nearRed.colorIndex(), 1);
  EXPECT_EQ(nearRed.trueColorValue(), 0xFA0302u);
}

TEST(ZcCmColorTest, IndexSpecialValuesAndRefusals) {
  ZcCmColor color;
  EXPECT_TRUE(color.isByLayer());
  EXPECT_EQ(color.colorIndex(), 256);
  EXPECT_TRUE(color.setColorIndex(0));
  EXPECT_TRUE(color.isByBlock());
  EXPECT_TRUE(color.setColorIndex(3));
  EXPECT_EQ(color.green(), 255);
  EXPECT_FALSE(color.setColorIndex(300));
  EXPECT_EQ(color.colorIndex(), 3) << "a refused index changes nothing";
}

}  // namespace
