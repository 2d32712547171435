// CImage: the layout of a new picture, pixels and colour tables, loading and saving files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>

#include "ImageTestFiles.h"
#include "PlatformTestSupport.h"
#include "platform/TextEncoding.h"
#include "zcad/platform/zcimage.h"

using namespace vtcad::platform;
using namespace vtcad::platform::testing;

namespace {

std::wstring wide(const fs::path& path) { return wideFromPath(path); }

void expectSamePixels(const CImage& a, const CImage& b) {
  ASSERT_EQ(a.GetWidth(), b.GetWidth());
  ASSERT_EQ(a.GetHeight(), b.GetHeight());
  for (int y = 0; y < a.GetHeight(); ++y) {
    for (int x = 0; x < a.GetWidth(); ++x) ASSERT_EQ(a.GetPixel(x, y), b.GetPixel(x, y)) << x << "," << y;
  }
}

}  // namespace

TEST(Image, CreateLaysOutATopDownDibOfEveryDepth) {
  for (int bpp : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(bpp);
    CImage image;
    ASSERT_TRUE(image.Create(7, -3, bpp));  // negative: Windows' top-down form, the same picture
    EXPECT_EQ(image.GetWidth(), 7);
    EXPECT_EQ(image.GetHeight(), 3);
    EXPECT_EQ(image.GetBPP(), bpp);
    EXPECT_EQ(image.GetPitch(), static_cast<int>((7 * bpp + 31) / 32 * 4));
    EXPECT_EQ(image.GetPixel(6, 2), RGB(0, 0, 0));
    EXPECT_EQ(static_cast<const BYTE*>(image.GetPixelAddress(0, 2)),
              static_cast<const BYTE*>(image.GetBits()) + 2 * image.GetPitch());
    EXPECT_EQ(image.GetPixelAddress(7, 0), nullptr);
    EXPECT_EQ(image.IsIndexed(), bpp <= 8);
    EXPECT_EQ(image.GetMaxColorTableEntries(), bpp <= 8 ? 1 << bpp : 0);
    if (bpp <= 8) {
      RGBQUAD last{};
      image.GetColorTable(static_cast<UINT>((1 << bpp) - 1), 1, &last);
      EXPECT_EQ(last.rgbRed, 255);  // the grey ramp ends in white
    }
  }
  CImage alpha;
  ASSERT_TRUE(alpha.Create(2, 2, 32, CImage::createAlphaChannel));
  EXPECT_TRUE(alpha.HasAlphaChannel());
}

TEST(Image, CreateRefusesWhatItCannotHoldAndKeepsThePicture) {
  CImage image;
  ASSERT_TRUE(image.Create(3, 3, 24));
  EXPECT_FALSE(image.Create(0, 5, 24));
  EXPECT_FALSE(image.Create(5, 5, 16));
  EXPECT_FALSE(image.Create(20000, 20000, 8));  // 400 megapixels
  EXPECT_FALSE(image.Create(5, INT_MIN, 8));
  EXPECT_EQ(image.GetWidth(), 3);
  image.Destroy();
  EXPECT_TRUE(image.IsNull());
  EXPECT_EQ(image.GetBits(), nullptr);
}

TEST(Image, SetPixelOfAnIndexedPictureTakesTheNearestColour) {
  CImage image;
  ASSERT_TRUE(image.Create(9, 2, 4));
  RGBQUAD red{0, 0, 250, 0};
  image.SetColorTable(5, 1, &red);
  image.SetPixel(8, 1, RGB(255, 10, 10));
  EXPECT_EQ(image.GetPixel(8, 1), RGB(250, 0, 0));
  EXPECT_EQ(static_cast<const BYTE*>(image.GetPixelAddress(8, 1))[0] >> 4, 5);  // high nibble: the even pixel
  image.SetPixel(-1, 0, RGB(1, 2, 3));                                          // outside: nothing
  EXPECT_EQ(image.GetPixel(99, 0), 0u);
}

TEST(Image, RandomPicturesOfEveryDepthSaveAndLoadBackTheSame) {
  TempFolder folder;
  std::mt19937 random(3);
  for (int round = 0; round < 40; ++round) {
    for (int bpp : {1, 4, 8, 24, 32}) {
      for (const char* name : {"p.bmp", "p.PNG"}) {
        SCOPED_TRACE(std::to_string(bpp) + " " + name);
        std::uniform_int_distribution<int> side(1, 33);
        CImage image;
        bool alpha = bpp == 32 && round % 2;
        ASSERT_TRUE(image.Create(side(random), side(random), bpp, alpha ? CImage::createAlphaChannel : 0));
        if (image.IsIndexed()) {
          std::vector<RGBQUAD> table(static_cast<std::size_t>(image.GetMaxColorTableEntries()));
          for (RGBQUAD& c : table) c = RGBQUAD{BYTE(random()), BYTE(random()), BYTE(random()), 0};
          image.SetColorTable(0, static_cast<UINT>(table.size()), table.data());
        }
        auto* bits = static_cast<BYTE*>(image.GetBits());
        for (int i = 0; i < image.GetPitch() * image.GetHeight(); ++i) bits[i] = static_cast<BYTE>(random());
        std::wstring path = wide(folder.path / name);
        ASSERT_EQ(image.Save(path.c_str()), S_OK);
        CImage back;
        ASSERT_EQ(back.Load(path.c_str()), S_OK) << encodeUtf8(back.GetLoadMessage());
        bool png = name[2] == 'P';
        // BMP keeps indexed depths and drops alpha; PNG gives indexed pictures as 8 bits and
        // 32-bit ones without alpha as 24.
        int expected = png ? (bpp <= 8 ? 8 : (alpha ? 32 : 24)) : (bpp == 32 ? 24 : bpp);
        EXPECT_EQ(back.GetBPP(), expected);
        EXPECT_EQ(back.HasAlphaChannel(), alpha && png);
        expectSamePixels(image, back);
        if (alpha && png) {
          for (int y = 0; y < image.GetHeight(); ++y) {
            ASSERT_EQ(static_cast<const BYTE*>(back.GetPixelAddress(0, y))[3],
                      static_cast<const BYTE*>(image.GetPixelAddress(0, y))[3]);
          }
        }
      }
    }
  }
}

TEST(Image, AFailedLoadSaysWhyAndLeavesThePictureAsItWas) {
  TempFolder folder;
  writeFile(folder.path / "notes.bmp", "BM not really");
  writeFile(folder.path / "good.gif", gifFile(3, 2, {}));
  ASSERT_EQ(::mkfifo((folder.path / "pipe.png").c_str(), 0600), 0);
  CImage image;
  std::wstring good = wide(folder.path / "good.gif");
  ASSERT_EQ(image.Load(good.c_str()), S_OK);
  EXPECT_STREQ(image.GetLoadMessage(), L"");
  struct Case {
    fs::path path;
    DWORD code;
    std::wstring says;
  };
  for (const Case& c : {Case{folder.path / "missing.png", ERROR_FILE_NOT_FOUND, L"No such file or directory"},
                        Case{folder.path, ERROR_ACCESS_DENIED, L"not a file"},
                        Case{folder.path / "pipe.png", ERROR_ACCESS_DENIED, L"not a file"},
                        Case{folder.path / "notes.bmp", ERROR_INVALID_DATA, L"the BMP"}}) {
    std::wstring path = wide(c.path);
    SetLastError(0);
    EXPECT_EQ(image.Load(path.c_str()), E_FAIL);
    EXPECT_EQ(GetLastError(), c.code);
    std::wstring message = image.GetLoadMessage();
    EXPECT_EQ(message.rfind(L"cannot read " + path + L": ", 0), 0u) << encodeUtf8(message);
    EXPECT_NE(message.find(c.says), std::wstring::npos) << encodeUtf8(message);
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(image.GetBPP(), 8);
  }
}

TEST(Image, SaveIsAtomicAndAFailedOneLeavesTheTargetAlone) {
  TempFolder folder;
  CImage image;
  ASSERT_TRUE(image.Create(2, 2, 24));
  std::wstring target = wide(folder.path / "out.bmp");
  writeFile(folder.path / "out.bmp", "old");
  CImage empty;
  EXPECT_EQ(empty.Save(target.c_str()), E_FAIL);
  EXPECT_EQ(readFile(folder.path / "out.bmp"), "old");
  std::wstring nowhere = wide(folder.path / "no-such-folder" / "out.bmp");
  EXPECT_EQ(image.Save(nowhere.c_str()), E_FAIL);
  ASSERT_EQ(image.Save(target.c_str(), CImage::FileType::kPng), S_OK);  // the type wins over the name
  EXPECT_EQ(readFile(folder.path / "out.bmp").substr(1, 3), "PNG");
  EXPECT_EQ(folder.names(), std::vector<std::string>{"out.bmp"});  // no temporary left behind
}

TEST(Image, AMovedPictureLeavesAnEmptyOneThatStillAnswers) {
  CImage image;
  ASSERT_TRUE(image.Create(4, 4, 8));
  CImage moved(std::move(image));
  EXPECT_EQ(moved.GetWidth(), 4);
  EXPECT_TRUE(image.IsNull());  // NOLINT(bugprone-use-after-move): what a moved-from image answers
  EXPECT_EQ(image.GetPixel(0, 0), 0u);
  EXPECT_STREQ(image.GetLoadMessage(), L"");
  EXPECT_TRUE(image.Create(1, 1, 24));
  image = std::move(moved);
  EXPECT_EQ(image.GetWidth(), 4);
}
