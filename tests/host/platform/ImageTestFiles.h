#pragma once
// Small picture files of every kind, written here for the image tests: BMP by hand, PNG, JPEG and
// GIF through their libraries. Pixel values follow sample(): a pattern every depth can hold, so
// a decoded picture can be checked pixel by pixel.
#include <gif_lib.h>
#include <png.h>
#include <stdio.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace vtcad::platform::testing {

// The value at (x, y) of a channel of `bits` bits.
inline unsigned sample(int x, int y, int channel, int bits) {
  return static_cast<unsigned>(x * 7 + y * 13 + channel * 5) % (1u << bits);
}
// A sample of `bits` bits as an 8-bit value, rounded.
inline unsigned to8(unsigned value, int bits) {
  unsigned max = (1u << bits) - 1;
  return bits >= 8 ? value >> (bits - 8) : (value * 255 + max / 2) / max;
}

inline void put16(std::string& s, unsigned v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void put32(std::string& s, std::uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

// A BMP with a 40-byte header (plus three masks after it for BI_BITFIELDS, i.e. 5-6-5 at 16
// bits), bottom-up or top-down. Indexed pixels are sample(channel 0); the table maps index i to
// (i, 255 - i, i / 2) scaled to 8 bits. 16-bit pixels hold 5-bit (or 6-bit green) samples;
// 24/32-bit pixels 8-bit samples.
inline std::string bmpFile(int width, int height, int bpp, bool bitfields, bool topDown) {
  std::size_t stride = (static_cast<std::size_t>(width) * bpp + 31) / 32 * 4;
  int entries = bpp <= 8 ? 1 << bpp : 0;
  std::size_t offset = 14 + 40 + (bitfields ? 12 : 0) + 4 * static_cast<std::size_t>(entries);
  std::string s = "BM";
  put32(s, static_cast<std::uint32_t>(offset + stride * height));
  put32(s, 0);
  put32(s, static_cast<std::uint32_t>(offset));
  put32(s, 40);
  put32(s, static_cast<std::uint32_t>(width));
  put32(s, static_cast<std::uint32_t>(topDown ? -height : height));
  put16(s, 1);
  put16(s, static_cast<unsigned>(bpp));
  put32(s, bitfields ? 3 : 0);
  put32(s, 0);
  put32(s, 0);
  put32(s, 0);
  put32(s, 0);
  put32(s, 0);
  if (bitfields) {
    put32(s, 0xF800);
    put32(s, 0x07E0);
    put32(s, 0x001F);
  }
  for (int i = 0; i < entries; ++i) {
    unsigned v = to8(static_cast<unsigned>(i), bpp);
    s.push_back(static_cast<char>(v / 2));
    s.push_back(static_cast<char>(255 - v));
    s.push_back(static_cast<char>(v));
    s.push_back(0);
  }
  for (int r = 0; r < height; ++r) {
    int y = topDown ? r : height - 1 - r;
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x) {
      if (bpp <= 8) {
        unsigned v = sample(x, y, 0, bpp);
        int bit = x * bpp;
        row[bit / 8] = static_cast<char>(row[bit / 8] | (v << (8 - bpp - bit % 8)));
      } else if (bpp == 16) {
        unsigned b = sample(x, y, 0, 5), g = sample(x, y, 1, bitfields ? 6 : 5), r5 = sample(x, y, 2, 5);
        unsigned v = bitfields ? (r5 << 11 | g << 5 | b) : (r5 << 10 | g << 5 | b);
        row[2 * x] = static_cast<char>(v & 0xFF);
        row[2 * x + 1] = static_cast<char>(v >> 8);
      } else {
        for (int c = 0; c < bpp / 8; ++c) row[x * (bpp / 8) + c] = static_cast<char>(sample(x, y, c, 8));
      }
    }
    s += row;
  }
  return s;
}

// The pixels of bmpFile(width, height, bpp ∈ {4, 8}, …) run-length encoded (RLE4, RLE8): each
// row's first pixel as a run of one, the rest in absolute mode (single runs when fewer than 3).
inline std::string bmpRleFile(int width, int height, int bpp) {
  std::string s = bmpFile(width, height, bpp, false, false);
  std::size_t offset = 14 + 40 + 4 * (std::size_t{1} << bpp);
  s.resize(offset);
  s[30] = static_cast<char>(bpp == 8 ? 1 : 2);
  auto code = [&](unsigned a, unsigned b) {
    s.push_back(static_cast<char>(a));
    s.push_back(static_cast<char>(b));
  };
  for (int y = height - 1; y >= 0; --y) {
    auto pixel = [&](int x) { return sample(x, y, 0, bpp); };
    code(1, bpp == 8 ? pixel(0) : pixel(0) << 4);
    int rest = width - 1;
    if (rest >= 3) {
      code(0, static_cast<unsigned>(rest));
      std::string packed;
      for (int i = 0; i < rest; ++i) {
        if (bpp == 8) {
          packed.push_back(static_cast<char>(pixel(1 + i)));
        } else if (i % 2 == 0) {
          packed.push_back(static_cast<char>(pixel(1 + i) << 4));
        } else {
          packed.back() = static_cast<char>(packed.back() | pixel(1 + i));
        }
      }
      if (packed.size() % 2) packed.push_back(0);
      s += packed;
    } else {
      for (int i = 0; i < rest; ++i) code(1, bpp == 8 ? pixel(1 + i) : pixel(1 + i) << 4);
    }
    code(0, y == 0 ? 1 : 0);  // end of the row, or of the picture after the top row
  }
  std::uint32_t size = static_cast<std::uint32_t>(s.size());
  for (int i = 0; i < 4; ++i) s[2 + i] = static_cast<char>(size >> (8 * i));
  return s;
}

// A PNG of the colour type and bit depth; samples are sample() at that depth (channel order of
// the file: grey, or red, green, blue, then alpha). A palette maps index i to (i, 255 - i, i).
inline std::string pngFile(int width, int height, int colorType, int depth, bool interlace,
                           bool trns = false) {
  char* buffer = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&buffer, &size);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, f);
  png_set_IHDR(png, info, width, height, depth, colorType,
               interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  if (colorType == PNG_COLOR_TYPE_PALETTE) {
    for (int i = 0; i < (1 << depth); ++i) {
      auto v = static_cast<png_byte>(to8(static_cast<unsigned>(i), depth));
      palette.push_back(png_color{v, static_cast<png_byte>(255 - v), v});
    }
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  }
  png_byte alphas[1] = {0};
  png_color_16 transparent{};
  if (trns) png_set_tRNS(png, info, alphas, 1, &transparent);
  png_write_info(png, info);
  int channels = png_get_channels(png, info);
  std::vector<std::vector<png_byte>> rows(static_cast<std::size_t>(height),
                                          std::vector<png_byte>(png_get_rowbytes(png, info) + 8));
  std::vector<png_bytep> pointers;
  for (int y = 0; y < height; ++y) {
    std::vector<png_byte>& row = rows[static_cast<std::size_t>(y)];
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < channels; ++c) {
        unsigned v = sample(x, y, c, depth);
        std::size_t bit = (static_cast<std::size_t>(x) * channels + c) * depth;
        if (depth == 16) {
          row[bit / 8] = static_cast<png_byte>(v >> 8);
          row[bit / 8 + 1] = static_cast<png_byte>(v & 0xFF);
        } else {
          row[bit / 8] = static_cast<png_byte>(row[bit / 8] | (v << (8 - depth - bit % 8)));
        }
      }
    }
    pointers.push_back(row.data());
  }
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  fclose(f);
  std::string out(buffer, size);
  free(buffer);
  return out;
}

// A JPEG of a smooth ramp (red, green, blue = 4x + 3y + 40c, at most 255), grey, or CMYK with Adobe's
// inverted inks holding (red, green, blue, 255): all three decode to the samples.
enum class JpegKind { kColor, kGrey, kCmyk };
inline std::string jpegFile(int width, int height, JpegKind kind) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  int components = kind == JpegKind::kGrey ? 1 : (kind == JpegKind::kCmyk ? 4 : 3);
  info.input_components = components;
  info.in_color_space =
      kind == JpegKind::kGrey ? JCS_GRAYSCALE : (kind == JpegKind::kCmyk ? JCS_CMYK : JCS_RGB);
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 98, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * components);
  while (info.next_scanline < info.image_height) {
    int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < components; ++c) {
        row[static_cast<std::size_t>(x) * components + c] =
            static_cast<JSAMPLE>(c == 3 ? 255 : std::min(255, x * 4 + y * 3 + c * 40));
      }
    }
    JSAMPROW pointer = row.data();
    jpeg_write_scanlines(&info, &pointer, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string out(reinterpret_cast<char*>(buffer), size);
  free(buffer);
  return out;
}

// A GIF of one frame at (left, top) of a larger screen, indexes sample(…, 0, 8) % colours, the
// table mapping i to (i, 255 - i, 2i); optionally interlaced, a local table, index 0 transparent.
struct GifOptions {
  int screenWidth = 0, screenHeight = 0, left = 0, top = 0;
  bool interlace = false, localMap = false, transparentZero = false;
  int background = 0;
};
inline std::string gifFile(int width, int height, const GifOptions& o) {
  std::string out;
  auto write = [](GifFileType* gif, const GifByteType* data, int n) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(data), static_cast<size_t>(n));
    return n;
  };
  int error = 0;
  GifFileType* gif = EGifOpen(&out, write, &error);
  EGifSetGifVersion(gif, true);
  std::vector<GifColorType> colors(256);
  for (int i = 0; i < 256; ++i) {
    colors[static_cast<std::size_t>(i)] = GifColorType{
        static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i), static_cast<GifByteType>(2 * i)};
  }
  ColorMapObject* map = GifMakeMapObject(256, colors.data());
  EGifPutScreenDesc(gif, o.screenWidth ? o.screenWidth : width, o.screenHeight ? o.screenHeight : height, 8,
                    o.background, o.localMap ? nullptr : map);
  if (o.transparentZero) {
    GifByteType control[4] = {1, 0, 0, 0};
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
  }
  EGifPutImageDesc(gif, o.left, o.top, width, height, o.interlace, o.localMap ? map : nullptr);
  std::vector<GifPixelType> line(static_cast<std::size_t>(width));
  auto putRow = [&](int y) {
    for (int x = 0; x < width; ++x)
      line[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(sample(x, y, 0, 8));
    EGifPutLine(gif, line.data(), width);
  };
  if (o.interlace) {
    for (int pass = 0; pass < 4; ++pass) {
      static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
      for (int y = kStart[pass]; y < height; y += kStep[pass]) putRow(y);
    }
  } else {
    for (int y = 0; y < height; ++y) putRow(y);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

}  // namespace vtcad::platform::testing
