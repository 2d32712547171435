// Loading pictures for the image commands: every depth made readable, wide pictures reduced,
// files that are no pictures refused with the message the user sees.
#include <fstream>

#include "image/PictureLoading.h"
#include "plugin/image/ImageTestSupport.h"

namespace veltrace::testing {
namespace {

// Indexed pictures of 1 and 4 bits used to give no pixel reads to the hole net and the
// vectorizer (their passes know 8, 24 and 32 bits only): they load as 24-bit pictures now.
TEST(PictureLoadingTest, OneAndFourBitPicturesLoadAsTwentyFourBitWithTheirColours) {
  const std::filesystem::path folder = testFolder();
  for (int bpp : {1, 4}) {
    CImage indexed;
    ASSERT_TRUE(indexed.Create(6, 3, bpp));
    // Two colours; the other entries of a 4-bit table repeat the first.
    RGBQUAD table[16];
    for (RGBQUAD& entry : table) entry = {10, 20, 30, 0};
    table[1] = {200, 150, 100, 0};
    indexed.SetColorTable(0, static_cast<UINT>(indexed.GetMaxColorTableEntries()), table);
    indexed.SetPixel(1, 1, RGB(100, 150, 200));  // the nearest entry: index 1
    const std::wstring path = (folder / ("indexed " + std::to_string(bpp) + ".bmp")).wstring();
    ASSERT_EQ(indexed.Save(path.c_str()), S_OK);
    ASSERT_EQ(CImage().Load(path.c_str()), S_OK);

    LoadedPicture loaded = loadWorkingPicture(path, kWidestWorkingPicture);
    ASSERT_TRUE(loaded.loaded()) << bpp;
    EXPECT_EQ(loaded.picture.GetBPP(), 24) << bpp;
    EXPECT_EQ(loaded.picture.GetPixel(1, 1), RGB(100, 150, 200)) << bpp;
    EXPECT_EQ(loaded.picture.GetPixel(0, 0), RGB(30, 20, 10)) << bpp;
  }
}

TEST(PictureLoadingTest, WidePicturesAreReducedToTheWidestWidthInProportion) {
  const std::filesystem::path folder = testFolder();
  CImage wide = blackRectangleOnWhite(2000, 1000, 0, 0, 1000, 1000);
  const std::wstring path = (folder / "wide.png").wstring();
  ASSERT_EQ(wide.Save(path.c_str()), S_OK);
  LoadedPicture loaded = loadWorkingPicture(path, kWidestWorkingPicture);
  ASSERT_TRUE(loaded.loaded());
  EXPECT_EQ(loaded.picture.GetWidth(), 1024);
  EXPECT_EQ(loaded.picture.GetHeight(), 512);
  EXPECT_EQ(loaded.picture.GetPixel(100, 100), RGB(0, 0, 0));
  EXPECT_EQ(loaded.picture.GetPixel(900, 100), RGB(255, 255, 255));
  // Without a limit the picture keeps its size.
  EXPECT_EQ(loadWorkingPicture(path, /*widest=*/0).picture.GetWidth(), 2000);
}

TEST(PictureLoadingTest, AFileThatIsNoPictureGetsTheLoadMessageAndNoPicture) {
  const std::filesystem::path folder = testFolder();
  const std::wstring path = (folder / "notes.png").wstring();
  std::ofstream(folder / "notes.png") << "not a picture at all";
  LoadedPicture loaded = loadWorkingPicture(path, kWidestWorkingPicture);
  EXPECT_EQ(loaded.status, PictureLoadStatus::kNotAPicture);
  EXPECT_TRUE(loaded.picture.IsNull());
  EXPECT_EQ(pictureLoadMessage(loaded, path), L"GetLastError: 13 -- Load image Error：" + path);

  const std::wstring missing = (folder / "missing.bmp").wstring();
  EXPECT_EQ(pictureLoadMessage(loadWorkingPicture(missing, kWidestWorkingPicture), missing),
            L"GetLastError: 2 -- Load image Error：" + missing);
}

}  // namespace
}  // namespace veltrace::testing
