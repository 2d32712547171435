// The pixel buffer of pictures, its size rules and the decoder that tells formats apart.
#include "platform/ImagePixels.h"

#include <cassert>
#include <cstring>

#include "platform/BmpCodec.h"
#include "platform/GifCodec.h"
#include "platform/JpegCodec.h"
#include "platform/PngCodec.h"

namespace vtcad::platform {

int ImagePixels::indexAt(int x, int y) const {
  assert(indexed() && x >= 0 && x < width && y >= 0 && y < height);
  const std::uint8_t* r = row(y);
  switch (bpp) {
    case 1:
      return (r[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (r[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    default:
      return r[x];
  }
}

void ImagePixels::setIndex(int x, int y, int index) {
  assert(indexed() && x >= 0 && x < width && y >= 0 && y < height);
  std::uint8_t* r = row(y);
  switch (bpp) {
    case 1: {
      auto bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
      r[x >> 3] = static_cast<std::uint8_t>((r[x >> 3] & ~bit) | ((index & 1) ? bit : 0));
      break;
    }
    case 4: {
      int shift = (x & 1) ? 0 : 4;
      r[x >> 1] = static_cast<std::uint8_t>((r[x >> 1] & ~(0xF << shift)) | ((index & 0xF) << shift));
      break;
    }
    default:
      r[x] = static_cast<std::uint8_t>(index);
  }
}

RGBQUAD ImagePixels::colorAt(int x, int y) const {
  if (indexed()) {
    RGBQUAD c = palette[static_cast<std::size_t>(indexAt(x, y))];
    c.rgbReserved = 255;
    return c;
  }
  const std::uint8_t* p = row(y) + static_cast<std::size_t>(x) * static_cast<std::size_t>(bpp / 8);
  return RGBQUAD{p[0], p[1], p[2], static_cast<BYTE>(bpp == 32 && alpha ? p[3] : 255)};
}

std::size_t imagePitch(int width, int bpp) {
  std::size_t bitsPerRow = static_cast<std::size_t>(width) * static_cast<std::size_t>(bpp);
  return (bitsPerRow + 31) / 32 * 4;
}

std::optional<std::string> imageSizeProblem(long long width, long long height) {
  if (width <= 0 || height <= 0)
    return "the picture has no pixels (" + std::to_string(width) + " × " + std::to_string(height) + ")";
  // Each side is at most 2^31 here, so the product cannot overflow.
  if (width > kImagePixelBudget || height > kImagePixelBudget || width * height > kImagePixelBudget) {
    return "the picture is " + std::to_string(width) + " × " + std::to_string(height) +
           " pixels, more than the " + std::to_string(kImagePixelBudget / 1'000'000) + " megapixels allowed";
  }
  return std::nullopt;
}

std::vector<RGBQUAD> greyRamp(int entries) {
  std::vector<RGBQUAD> ramp(static_cast<std::size_t>(entries));
  for (int i = 0; i < entries; ++i) {
    auto v = static_cast<BYTE>(entries == 1 ? 0 : i * 255 / (entries - 1));
    ramp[static_cast<std::size_t>(i)] = RGBQUAD{v, v, v, 0};
  }
  return ramp;
}

ImagePixels makeImagePixels(int width, int height, int bpp, bool alpha) {
  assert(!imageSizeProblem(width, height));
  ImagePixels p;
  p.width = width;
  p.height = height;
  p.bpp = bpp;
  p.pitch = static_cast<int>(imagePitch(width, bpp));
  p.alpha = alpha && bpp == 32;
  if (bpp <= 8) p.palette = greyRamp(1 << bpp);
  p.bits.assign(static_cast<std::size_t>(p.pitch) * static_cast<std::size_t>(height), 0);
  return p;
}

DecodedImage decodeImage(std::span<const std::uint8_t> bytes) {
  auto startsWith = [&](std::initializer_list<std::uint8_t> magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
  };
  if (startsWith({'B', 'M'})) return decodeBmp(bytes);
  if (startsWith({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return decodePng(bytes);
  if (startsWith({0xFF, 0xD8, 0xFF})) return decodeJpeg(bytes);
  if (startsWith({'G', 'I', 'F', '8'})) return decodeGif(bytes);
  if (bytes.empty()) return decodeFailure("the file is empty");
  return decodeFailure("the file is not a picture of a known kind (BMP, PNG, JPEG or GIF)");
}

}  // namespace vtcad::platform
