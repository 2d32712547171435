// BMP reading and writing.
#include "platform/BmpCodec.h"

#include <bit>
#include <cassert>
#include <cstring>
#include <optional>

namespace vtcad::platform {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;  // OS/2 1.x: 16-bit sizes, 3-byte colours
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kMaxHeaderBytes = 124;  // BITMAPV5HEADER
enum : std::uint32_t {
  kBiRgb = 0,
  kBiRle8 = 1,
  kBiRle4 = 2,
  kBiBitfields = 3,
  kBiJpeg = 4,
  kBiPng = 5,
  kBiAlphaBitfields = 6
};

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// One channel of a BI_BITFIELDS pixel: where its mask starts and how wide it is, scaled to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int width = 0;
  explicit Channel(std::uint32_t m) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    width = std::popcount(m >> shift);
  }
  BYTE of(std::uint32_t pixel, BYTE absent) const {
    if (mask == 0) return absent;
    std::uint32_t v = (pixel & mask) >> shift;
    std::uint32_t max = width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1;
    // Rounded to nearest; a mask that is not contiguous is read as its span.
    return static_cast<BYTE>((static_cast<std::uint64_t>(std::min(v, max)) * 255 + max / 2) / max);
  }
};

void put16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// Run-length encoded rows (RLE8, RLE4), bottom-up, into the zeroed `out`. Pixels the data skips
// (deltas, short rows, an early end of the picture) stay index 0; pixels past a row's end are
// dropped. Every record takes at least two bytes, so the loop ends with the data.
std::optional<std::string> decodeRle(std::span<const std::uint8_t> data, ImagePixels& out) {
  bool four = out.bpp == 4;
  long long x = 0;
  long long row = 0;  // from the bottom
  auto put = [&](int index) {
    if (x < out.width && row < out.height)
      out.setIndex(static_cast<int>(x), out.height - 1 - static_cast<int>(row), index);
    ++x;
  };
  std::size_t at = 0;
  const char* early = "the BMP data ends early (in its run-length encoded rows)";
  while (row < out.height) {
    if (data.size() - at < 2) return early;
    std::uint8_t count = data[at], value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? ((i & 1) ? value & 0xF : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of the row
      x = 0;
      ++row;
    } else if (value == 1) {  // end of the picture
      return std::nullopt;
    } else if (value == 2) {  // move right and up
      if (data.size() - at < 2) return early;
      x += data[at];
      row += data[at + 1];
      at += 2;
    } else {  // `value` pixels as they are, padded to a whole number of 16-bit words
      std::size_t length = four ? (value + 1u) / 2 : value;
      std::size_t padded = (length + 1) / 2 * 2;
      if (data.size() - at < padded) return early;
      for (int i = 0; i < value; ++i) {
        std::uint8_t b = data[at + static_cast<std::size_t>(four ? i / 2 : i)];
        put(four ? ((i & 1) ? b & 0xF : b >> 4) : b);
      }
      at += padded;
    }
  }
  return std::nullopt;
}

}  // namespace

DecodedImage decodeBmp(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kFileHeaderBytes + 4) return decodeFailure("the BMP data ends early (in its header)");
  std::uint32_t headerBytes = u32(bytes, kFileHeaderBytes);
  if (headerBytes != kCoreHeaderBytes && (headerBytes < kInfoHeaderBytes || headerBytes > kMaxHeaderBytes)) {
    return decodeFailure("the BMP header has an unknown size (" + std::to_string(headerBytes) + " bytes)");
  }
  if (bytes.size() < kFileHeaderBytes + headerBytes)
    return decodeFailure("the BMP data ends early (in its header)");
  std::size_t h = kFileHeaderBytes;
  long long width = 0;
  long long height = 0;
  int bpp = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colorsUsed = 0;
  bool core = headerBytes == kCoreHeaderBytes;
  if (core) {
    width = u16(bytes, h + 4);
    height = u16(bytes, h + 6);
    bpp = u16(bytes, h + 10);
  } else {
    width = static_cast<std::int32_t>(u32(bytes, h + 4));
    height = static_cast<std::int32_t>(u32(bytes, h + 8));
    bpp = u16(bytes, h + 14);
    compression = u32(bytes, h + 16);
    colorsUsed = u32(bytes, h + 32);
  }
  bool topDown = height < 0;
  if (topDown) height = -height;
  bool rle = compression == kBiRle8 || compression == kBiRle4;
  if (rle && bpp != (compression == kBiRle8 ? 8 : 4)) {
    return decodeFailure("the BMP is run-length encoded (RLE" +
                         std::string(compression == kBiRle8 ? "8" : "4") + ") at " + std::to_string(bpp) +
                         " bits per pixel");
  }
  if (rle && topDown) return decodeFailure("the BMP is run-length encoded with its rows top-down");
  if (compression == kBiJpeg || compression == kBiPng) {
    return decodeFailure("the BMP holds an embedded JPEG or PNG, which is not supported");
  }
  if (!rle && compression != kBiRgb && compression != kBiBitfields && compression != kBiAlphaBitfields) {
    return decodeFailure("the BMP has an unknown compression (" + std::to_string(compression) + ")");
  }
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    return decodeFailure("the BMP has " + std::to_string(bpp) + " bits per pixel, not 1, 4, 8, 16, 24 or 32");
  }
  bool bitfields = compression == kBiBitfields || compression == kBiAlphaBitfields;
  if (bitfields && bpp != 16 && bpp != 32) {
    return decodeFailure("the BMP has colour masks at " + std::to_string(bpp) + " bits per pixel");
  }
  if (auto problem = imageSizeProblem(width, height)) return decodeFailure(*problem);

  // Masks: inside a V2 header or later, else (BI_BITFIELDS with a 40-byte header) after it.
  std::size_t after = kFileHeaderBytes + headerBytes;
  std::uint32_t masks[4] = {0x7C00, 0x03E0, 0x001F, 0};  // 5-5-5, BI_RGB's 16 bits
  if (bpp == 32) {
    masks[0] = 0x00FF0000;
    masks[1] = 0x0000FF00;
    masks[2] = 0x000000FF;
  }
  if (bitfields) {
    int count = compression == kBiAlphaBitfields ? 4 : 3;
    if (headerBytes >= 52) {
      count = headerBytes >= 56 ? 4 : 3;
      for (int i = 0; i < count; ++i) masks[i] = u32(bytes, h + 40 + 4 * static_cast<std::size_t>(i));
    } else {
      if (bytes.size() < after + 4 * static_cast<std::size_t>(count)) {
        return decodeFailure("the BMP data ends early (in its colour masks)");
      }
      for (int i = 0; i < count; ++i) masks[i] = u32(bytes, after + 4 * static_cast<std::size_t>(i));
      after += 4 * static_cast<std::size_t>(count);
    }
  } else if (bpp == 32 && headerBytes >= 56) {
    // A V3+ header may name an alpha mask for plain 32-bit pixels.
    masks[3] = u32(bytes, h + 52);
    if (masks[3] != 0xFF000000u) masks[3] = 0;
  }

  ImagePixels out;
  if (bpp <= 8) {
    std::size_t entries =
        colorsUsed == 0 ? (std::size_t{1} << bpp) : std::min<std::size_t>(colorsUsed, 1u << bpp);
    std::size_t entryBytes = core ? 3 : 4;
    if (bytes.size() < after + entries * entryBytes) {
      return decodeFailure("the BMP data ends early (in its colour table)");
    }
    std::vector<RGBQUAD> palette(std::size_t{1} << bpp);
    for (std::size_t i = 0; i < entries; ++i) {
      const std::uint8_t* e = bytes.data() + after + i * entryBytes;
      palette[i] = RGBQUAD{e[0], e[1], e[2], 0};
    }
    after += entries * entryBytes;
    out.palette = std::move(palette);
  }
  std::size_t offset = u32(bytes, 10);
  // Some writers leave the offset zero; the rows then follow the colour table.
  if (offset == 0) offset = after;
  if (offset > bytes.size()) return decodeFailure("the BMP data ends early (its rows start past its end)");
  if (rle) {
    std::vector<RGBQUAD> palette = std::move(out.palette);
    out = makeImagePixels(static_cast<int>(width), static_cast<int>(height), bpp, /*alpha=*/false);
    out.palette = std::move(palette);
    if (auto problem = decodeRle(bytes.subspan(offset), out)) return decodeFailure(*problem);
    return DecodedImage{std::move(out), {}};
  }
  std::size_t stride = imagePitch(static_cast<int>(width), bpp);
  // Checked against the file's size before the picture's memory is taken: a header claiming a
  // large picture in a small file is refused here.
  if ((bytes.size() - offset) / stride < static_cast<std::size_t>(height)) {
    return decodeFailure("the BMP data ends early (" + std::to_string(bytes.size() - offset) +
                         " bytes of rows, " + std::to_string(stride * static_cast<std::size_t>(height)) +
                         " needed)");
  }

  int outBpp = bpp <= 8 ? bpp : (bpp == 16 ? 24 : bpp);
  bool alpha = bpp == 32 && masks[3] != 0;
  std::vector<RGBQUAD> palette = std::move(out.palette);
  out = makeImagePixels(static_cast<int>(width), static_cast<int>(height), outBpp, alpha);
  if (bpp <= 8) out.palette = std::move(palette);
  Channel red(masks[0]), green(masks[1]), blue(masks[2]), alphaChannel(masks[3]);
  bool plain32 = bpp == 32 && masks[0] == 0x00FF0000 && masks[1] == 0x0000FF00 && masks[2] == 0x000000FF &&
                 (masks[3] == 0 || masks[3] == 0xFF000000u);
  for (long long y = 0; y < height; ++y) {
    std::size_t rowAt = offset + stride * static_cast<std::size_t>(topDown ? y : height - 1 - y);
    const std::uint8_t* src = bytes.data() + rowAt;
    std::uint8_t* dst = out.row(static_cast<int>(y));
    if (bpp <= 8 || bpp == 24 || plain32) {
      std::memcpy(dst, src, std::min<std::size_t>(stride, static_cast<std::size_t>(out.pitch)));
      continue;
    }
    for (long long x = 0; x < width; ++x) {
      auto at = static_cast<std::size_t>(x);
      std::uint32_t pixel = bpp == 16 ? u16(bytes, rowAt + 2 * at) : u32(bytes, rowAt + 4 * at);
      std::uint8_t* d = dst + static_cast<std::size_t>(x) * static_cast<std::size_t>(outBpp / 8);
      d[0] = blue.of(pixel, 0);
      d[1] = green.of(pixel, 0);
      d[2] = red.of(pixel, 0);
      if (outBpp == 32) d[3] = alphaChannel.of(pixel, 0);
    }
  }
  return DecodedImage{std::move(out), {}};
}

std::string encodeBmp(const ImagePixels& pixels) {
  assert(!pixels.bits.empty());
  int bpp = pixels.indexed() ? pixels.bpp : 24;
  std::size_t stride = imagePitch(pixels.width, bpp);
  std::size_t paletteBytes = pixels.indexed() ? 4 * pixels.palette.size() : 0;
  std::size_t offset = kFileHeaderBytes + kInfoHeaderBytes + paletteBytes;
  std::size_t imageBytes = stride * static_cast<std::size_t>(pixels.height);
  std::string out;
  out.reserve(offset + imageBytes);
  out += "BM";
  put32(out, static_cast<std::uint32_t>(offset + imageBytes));
  put32(out, /*reserved=*/0);
  put32(out, static_cast<std::uint32_t>(offset));
  put32(out, kInfoHeaderBytes);
  put32(out, static_cast<std::uint32_t>(pixels.width));
  put32(out, static_cast<std::uint32_t>(pixels.height));  // positive: bottom-up, what every reader takes
  put16(out, /*planes=*/1);
  put16(out, static_cast<std::uint32_t>(bpp));
  put32(out, kBiRgb);
  put32(out, static_cast<std::uint32_t>(imageBytes));
  put32(out, /*x pixels per metre, 96 dpi=*/3780);
  put32(out, /*y pixels per metre=*/3780);
  put32(out, static_cast<std::uint32_t>(pixels.palette.size()));
  put32(out, /*important colours: all=*/0);
  for (const RGBQUAD& c : pixels.palette) {
    out.push_back(static_cast<char>(c.rgbBlue));
    out.push_back(static_cast<char>(c.rgbGreen));
    out.push_back(static_cast<char>(c.rgbRed));
    out.push_back(0);
  }
  std::string row(stride, '\0');
  for (int y = pixels.height - 1; y >= 0; --y) {
    const std::uint8_t* src = pixels.row(y);
    if (pixels.indexed() || pixels.bpp == 24) {
      std::memcpy(row.data(), src, stride);
    } else {
      for (int x = 0; x < pixels.width; ++x)
        std::memcpy(&row[3 * static_cast<std::size_t>(x)], src + 4 * x, 3);
    }
    out += row;
  }
  return out;
}

}  // namespace vtcad::platform
