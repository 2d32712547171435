// Decoding picture files of every kind and depth (a corpus written by the tests), and what
// damaged and hostile files get.
#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>

#include "ImageTestFiles.h"
#include "platform/ImagePixels.h"

using namespace vtcad::platform;
using namespace vtcad::platform::testing;

namespace {

struct CorpusFile {
  std::string name;
  std::string bytes;
  int width, height, bpp;
  bool alpha;
  int tolerance;  // per channel: 0 for lossless formats
  std::function<RGBQUAD(int, int)> expected;
};

std::span<const std::uint8_t> span(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

RGBQUAD bgr(unsigned r, unsigned g, unsigned b, unsigned a = 255) {
  return RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), static_cast<BYTE>(a)};
}

std::vector<CorpusFile> corpus() {
  constexpr int w = 13, h = 7;  // odd sizes: rows need padding at every depth
  std::vector<CorpusFile> files;
  for (int bpp : {1, 4, 8}) {
    auto indexed = [bpp](int x, int y) {
      unsigned v = to8(sample(x, y, 0, bpp), bpp);
      return bgr(v, 255 - v, v / 2);
    };
    files.push_back(
        {"bmp" + std::to_string(bpp), bmpFile(w, h, bpp, false, false), w, h, bpp, false, 0, indexed});
    if (bpp > 1) {
      files.push_back({"bmp-rle" + std::to_string(bpp), bmpRleFile(w, h, bpp), w, h, bpp, false, 0, indexed});
    }
  }
  files.push_back({"bmp16-555", bmpFile(w, h, 16, false, false), w, h, 24, false, 0, [](int x, int y) {
                     return bgr(to8(sample(x, y, 2, 5), 5), to8(sample(x, y, 1, 5), 5),
                                to8(sample(x, y, 0, 5), 5));
                   }});
  files.push_back({"bmp16-565", bmpFile(w, h, 16, true, true), w, h, 24, false, 0, [](int x, int y) {
                     return bgr(to8(sample(x, y, 2, 5), 5), to8(sample(x, y, 1, 6), 6),
                                to8(sample(x, y, 0, 5), 5));
                   }});
  auto bytes8 = [](int x, int y) { return bgr(sample(x, y, 2, 8), sample(x, y, 1, 8), sample(x, y, 0, 8)); };
  files.push_back({"bmp24", bmpFile(w, h, 24, false, false), w, h, 24, false, 0, bytes8});
  files.push_back({"bmp24-top-down", bmpFile(w, h, 24, false, true), w, h, 24, false, 0, bytes8});
  files.push_back({"bmp32", bmpFile(w, h, 32, false, false), w, h, 32, false, 0, bytes8});

  for (int depth : {1, 2, 4, 8, 16}) {
    auto grey = [depth](int x, int y) {
      unsigned v =
          depth == 16 ? (sample(x, y, 0, 16) * 255 + 32767) / 65535 : to8(sample(x, y, 0, depth), depth);
      return bgr(v, v, v);
    };
    files.push_back({"png-grey" + std::to_string(depth), pngFile(w, h, PNG_COLOR_TYPE_GRAY, depth, false), w,
                     h, 8, false, depth == 16, grey});
    if (depth <= 8) {
      auto indexed = [depth](int x, int y) {
        unsigned v = to8(sample(x, y, 0, depth), depth);
        return bgr(v, 255 - v, v);
      };
      files.push_back({"png-palette" + std::to_string(depth),
                       pngFile(w, h, PNG_COLOR_TYPE_PALETTE, depth, depth == 4), w, h, 8, false, 0, indexed});
    }
  }
  for (int depth : {8, 16}) {
    auto channel = [depth](int x, int y, int c) {
      return depth == 16 ? (sample(x, y, c, 16) * 255 + 32767) / 65535 : sample(x, y, c, 8);
    };
    std::string d = std::to_string(depth);
    files.push_back(
        {"png-rgb" + d, pngFile(w, h, PNG_COLOR_TYPE_RGB, depth, depth == 8), w, h, 24, false, depth == 16,
         [=](int x, int y) { return bgr(channel(x, y, 0), channel(x, y, 1), channel(x, y, 2)); }});
    files.push_back({"png-rgba" + d, pngFile(w, h, PNG_COLOR_TYPE_RGBA, depth, false), w, h, 32, true,
                     depth == 16, [=](int x, int y) {
                       return bgr(channel(x, y, 0), channel(x, y, 1), channel(x, y, 2), channel(x, y, 3));
                     }});
    files.push_back({"png-grey-alpha" + d, pngFile(w, h, PNG_COLOR_TYPE_GRAY_ALPHA, depth, false), w, h, 32,
                     true, depth == 16, [=](int x, int y) {
                       unsigned v = channel(x, y, 0);
                       return bgr(v, v, v, channel(x, y, 1));
                     }});
  }
  files.push_back({"png-palette-trns", pngFile(w, h, PNG_COLOR_TYPE_PALETTE, 8, false, true), w, h, 32, true,
                   0, [](int x, int y) {
                     unsigned v = sample(x, y, 0, 8);
                     return bgr(v, 255 - v, v, v == 0 ? 0 : 255);
                   }});

  constexpr int jw = 24, jh = 16;
  auto jpegColor = [](int x, int y, int c) {
    return static_cast<unsigned>(std::min(255, x * 4 + y * 3 + c * 40));
  };
  files.push_back(
      {"jpeg-color", jpegFile(jw, jh, JpegKind::kColor), jw, jh, 24, false, 40,
       [=](int x, int y) { return bgr(jpegColor(x, y, 0), jpegColor(x, y, 1), jpegColor(x, y, 2)); }});
  files.push_back({"jpeg-grey", jpegFile(jw, jh, JpegKind::kGrey), jw, jh, 8, false, 12, [=](int x, int y) {
                     unsigned v = jpegColor(x, y, 0);
                     return bgr(v, v, v);
                   }});
  files.push_back({"jpeg-cmyk", jpegFile(jw, jh, JpegKind::kCmyk), jw, jh, 24, false, 12, [=](int x, int y) {
                     return bgr(jpegColor(x, y, 0), jpegColor(x, y, 1), jpegColor(x, y, 2));
                   }});

  auto gifColor = [](int i) { return bgr(static_cast<unsigned>(i), 255u - i, (2u * i) & 0xFF); };
  files.push_back({"gif", gifFile(w, h, {}), w, h, 8, false, 0,
                   [=](int x, int y) { return gifColor(static_cast<int>(sample(x, y, 0, 8))); }});
  files.push_back({"gif-interlaced-local-table", gifFile(w, 19, {.interlace = true, .localMap = true}), w, 19,
                   8, false, 0,
                   [=](int x, int y) { return gifColor(static_cast<int>(sample(x, y, 0, 8))); }});
  // A frame inside a larger screen, index 0 transparent: the background (index 3) shows around
  // the frame and through it.
  GifOptions onScreen{
      .screenWidth = 20, .screenHeight = 10, .left = 4, .top = 2, .transparentZero = true, .background = 3};
  files.push_back({"gif-frame-on-screen", gifFile(w, h, onScreen), 20, 10, 8, false, 0, [=](int x, int y) {
                     bool inside = x >= 4 && x < 4 + w && y >= 2 && y < 2 + h;
                     int index = inside ? static_cast<int>(sample(x - 4, y - 2, 0, 8)) : 3;
                     return gifColor(index == 0 ? 3 : index);
                   }});
  return files;
}

}  // namespace

TEST(ImageDecode, EveryKindAndDepthDecodesToItsPixels) {
  for (const CorpusFile& file : corpus()) {
    SCOPED_TRACE(file.name);
    DecodedImage decoded = decodeImage(span(file.bytes));
    ASSERT_TRUE(decoded.pixels) << decoded.message;
    const ImagePixels& p = *decoded.pixels;
    EXPECT_EQ(p.width, file.width);
    ASSERT_EQ(p.height, file.height);
    EXPECT_EQ(p.bpp, file.bpp);
    EXPECT_EQ(p.alpha, file.alpha);
    EXPECT_EQ(p.pitch % 4, 0);
    EXPECT_EQ(p.palette.size(), p.bpp <= 8 ? std::size_t{1} << p.bpp : 0u);
    int worst = 0;
    for (int y = 0; y < p.height; ++y) {
      for (int x = 0; x < p.width; ++x) {
        RGBQUAD got = p.colorAt(x, y), want = file.expected(x, y);
        for (auto [a, b] : {std::pair{got.rgbRed, want.rgbRed},
                            {got.rgbGreen, want.rgbGreen},
                            {got.rgbBlue, want.rgbBlue},
                            {got.rgbReserved, want.rgbReserved}}) {
          worst = std::max(worst, std::abs(int{a} - int{b}));
        }
      }
    }
    EXPECT_LE(worst, file.tolerance);
  }
}

TEST(ImageDecode, EveryCutOfEveryFileIsRefusedWithAMessageOrDecodesWhole) {
  for (const CorpusFile& file : corpus()) {
    SCOPED_TRACE(file.name);
    for (std::size_t length = 0; length < file.bytes.size(); ++length) {
      DecodedImage decoded = decodeImage(span(file.bytes).first(length));
      if (decoded.pixels) {
        // Only what follows the pixels (a PNG's end chunk, a GIF's trailer) may be missing.
        EXPECT_GT(length, file.bytes.size() / 2);
        EXPECT_EQ(decoded.pixels->width, file.width);
      } else {
        EXPECT_FALSE(decoded.message.empty()) << length;
      }
    }
  }
}

TEST(ImageDecode, APictureBeyondTheBudgetIsRefusedFromItsHeader) {
  std::string bmp = bmpFile(1, 1, 24, false, false);
  for (int at : {18, 22}) bmp.replace(static_cast<std::size_t>(at), 4, "\x70\x11\x01\x00", 4);  // 70000
  EXPECT_EQ(decodeImage(span(bmp)).message,
            "the picture is 70000 × 70000 pixels, more than the 100 megapixels allowed");

  std::string jpeg = jpegFile(8, 8, JpegKind::kColor);
  std::size_t sof = jpeg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  jpeg.replace(sof + 5, 4, "\xEA\x60\xEA\x60", 4);  // 60000 × 60000
  EXPECT_EQ(decodeImage(span(jpeg)).message,
            "the picture is 60000 × 60000 pixels, more than the 100 megapixels allowed");

  std::string gif = gifFile(4, 4, {.screenWidth = 20000, .screenHeight = 20000});
  EXPECT_EQ(decodeImage(span(gif)).message,
            "the picture is 20000 × 20000 pixels, more than the 100 megapixels allowed");

  // PNG: the header's size (its checksum made right again) is checked before the pixels'
  // memory is taken, and so is the most the file's compressed data can hold.
  auto pngOfSize = [](std::uint32_t width, std::uint32_t height) {
    std::string png = pngFile(4, 4, PNG_COLOR_TYPE_GRAY, 1, false);
    for (int i = 0; i < 4; ++i) {
      png[16 + i] = static_cast<char>(width >> (24 - 8 * i));
      png[20 + i] = static_cast<char>(height >> (24 - 8 * i));
    }
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
    for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    return png;
  };
  EXPECT_EQ(decodeImage(span(pngOfSize(60000, 60000))).message,
            "the picture is 60000 × 60000 pixels, more than the 100 megapixels allowed");
  EXPECT_EQ(decodeImage(span(pngOfSize(9000, 9000))).message,
            "the PNG data ends early (far too little of it for a picture of 9000 × 9000 pixels)");
}

TEST(ImageDecode, RefusalsSayWhatIsWrong) {
  auto message = [](std::string bytes) { return decodeImage(span(bytes)).message; };
  EXPECT_EQ(message(""), "the file is empty");
  EXPECT_EQ(message("hello"), "the file is not a picture of a known kind (BMP, PNG, JPEG or GIF)");
  std::string rle = bmpFile(4, 4, 8, false, false);
  rle[30] = 2;  // BI_RLE4
  EXPECT_EQ(message(rle), "the BMP is run-length encoded (RLE4) at 8 bits per pixel");
  std::string png = pngFile(4, 4, PNG_COLOR_TYPE_RGB, 8, false);
  EXPECT_EQ(message(png.substr(0, png.size() - 30)), "the PNG data ends early");
  std::string jpeg = jpegFile(16, 16, JpegKind::kColor);
  EXPECT_EQ(message(jpeg.substr(0, jpeg.size() - 40)), "the JPEG data ends early");
  std::string gif = gifFile(8, 8, {});
  EXPECT_EQ(message(gif.substr(0, gif.size() - 8)), "the GIF data ends early");
}
