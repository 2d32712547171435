// txwk through a script driving its dialog, in both languages, with the drawing checked after
// a save and reload.
#include <algorithm>
#include <fstream>

#include "image/ImageCommands.h"
#include "plugin/image/ImageDialogTestSupport.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace::testing {
namespace {

class ImageHoleNetDialogTest : public ImageDialogTest {
 protected:
  void SetUp() override {
    ImageDialogTest::SetUp();
    addCommand(L"txwk", &loadImageHoleNetDlg);
    // 96 × 48 pixels, black in the 16 × 8 corner at the top left: at 24 rows, cells of 2
    // pixels, 8 × 4 of them black.
    picture_ = saved(blackRectangleOnWhite(96, 48, 0, 0, 16, 8), "corner.png");
  }
  std::wstring picture_;
};

TEST_F(ImageHoleNetDialogTest, BlackCellsBecomeCirclesOfTheSizeAtTheirPlacesAndThePreviewShowsRedDots) {
  const std::wstring shown = (folder_ / "preview.png").wstring();
  run(L"txwk\npress load\n" + picture_ + L"\ntype rows 24\nslide size 100\npress preview\npicture picture " +
      shown + L"\npress draw\n10,20\n48\n");
  EXPECT_TRUE(said("\n[Image to HoleNet] open")) << transcript_;
  EXPECT_TRUE(said("\nPlease specify the origin>>"));
  EXPECT_TRUE(said("\nPlease specify the height>>"));
  EXPECT_TRUE(said("\n[Image to HoleNet] closed"));

  const std::vector<ZcDbObjectId> ids = reloadedEntities();
  ASSERT_EQ(ids.size(), 32u);
  // Height 48 over 48 rows of pixels: one drawing unit per pixel, the top edge at y = 68.
  for (std::size_t n = 0; n < ids.size(); ++n) {
    Opened<ZcDbCircle> circle(ids[n]);
    ASSERT_TRUE(circle);
    const int i = static_cast<int>(n) / 8, j = static_cast<int>(n) % 8;
    EXPECT_TRUE(closeTo(circle->center(), ZcGePoint3d(10 + 2 * j + 1, 68 - (2 * i + 1), 0), 1e-9)) << n;
    EXPECT_NEAR(circle->radius(), 2 * 105 / 100.0, 1e-9);
  }

  CImage preview;
  ASSERT_TRUE(SUCCEEDED(preview.Load(shown.c_str())));
  int red = 0;
  for (int y = 0; y < preview.GetHeight(); ++y) {
    for (int x = 0; x < preview.GetWidth(); ++x) {
      const COLORREF c = preview.GetPixel(x, y);
      red += GetRValue(c) == 255 && GetGValue(c) == 0 && GetBValue(c) == 0 ? 1 : 0;
    }
  }
  EXPECT_GT(red, 32) << "a dot on each black cell";
  EXPECT_EQ(preview.GetPixel(300, 300), RGB(0xEE, 0xEE, 0xEE)) << "the ground beside the picture";
}

TEST_F(ImageHoleNetDialogTest, ChineseInvertedSquaresAndDiamondsOnTheWhiteCells) {
  chineseVersion = true;
  run(L"txwk\npress load\n" + picture_ +
      L"\ntype rows 24\ncheck invert\ncheck square\npress draw\n0,0\n96\n");
  EXPECT_TRUE(said("\n[图像网孔绘制] open")) << transcript_;
  EXPECT_TRUE(said("\n请指定原点>>"));
  std::vector<ZcDbObjectId> ids = reloadedEntities();
  ASSERT_EQ(ids.size(), 24u * 48u - 32u);
  {
    // Closed again before the next run reloads the drawing and frees this object.
    // The first white cell is the ninth of the top row; k = 2, r = 2 · 55 / 100 · 2.
    Opened<ZcDbPolyline> square(ids[0]);
    ASSERT_TRUE(square);
    EXPECT_TRUE(square->isClosed());
    ASSERT_EQ(square->numVerts(), 4u);
    const double r = 2.2;
    const ZcGePoint3d centre(2 * 17, 96 - 2, 0);
    ZcGePoint3d first;
    square->getPointAt(0, first);
    EXPECT_TRUE(closeTo(first, ZcGePoint3d(centre.x + r, centre.y - r, 0), 1e-9));
  }

  run(L"txwk\npress load\n" + picture_ +
      L"\ntype rows 30\ntype rows 5000\ncheck invert\ncheck diamond\npress draw\n0,0\n96\n");
  // 5000 rows is out of range: back to 72, limited to the picture's 48 rows (cells of 1 pixel).
  ids = reloadedEntities();
  ASSERT_EQ(ids.size(), 24u * 48u - 32u + 48u * 96u - 128u);
  Opened<ZcDbPolyline> diamond(ids.back());
  ASSERT_TRUE(diamond);
  ZcGePoint3d bottom;
  diamond->getPointAt(0, bottom);
  EXPECT_TRUE(closeTo(bottom, ZcGePoint3d(2 * 95.5, 96 - 2 * 47.5 - 1.1, 0), 1e-9));
}

TEST_F(ImageHoleNetDialogTest,
       WithoutAPictureOrWithANonPictureNothingIsDrawnAndACancelledOriginKeepsTheDialog) {
  std::ofstream(folder_ / "notes.png") << "not a picture";
  const std::wstring notes = (folder_ / "notes.png").wstring();
  run(L"txwk\npress preview\npress draw\npress load\n" + notes + L"\npress load\n" + picture_ +
      L"\npress draw\n^C\nshow\ncancel\n");
  EXPECT_TRUE(said("Please load the picture first")) << transcript_;
  EXPECT_TRUE(said("GetLastError: 13 -- Load image Error："));
  EXPECT_TRUE(said("\n[Image to HoleNet] shown"));
  EXPECT_TRUE(said("\n[Image to HoleNet] closed"));
  EXPECT_TRUE(reloadedEntities().empty());
}

}  // namespace
}  // namespace veltrace::testing
