#pragma once
// The pixels of a picture as the decoders produce them and CImage keeps them: a top-down DIB
// (row 0 at the top, rows `pitch` bytes apart, a multiple of 4), blue-green-red(-alpha) bytes or
// indexes into `palette` (most significant bits first).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "zcad/platform/zcimage.h"

namespace vtcad::platform {

struct ImagePixels {
  int width = 0;
  int height = 0;
  int bpp = 0;
  int pitch = 0;
  bool alpha = false;
  std::vector<RGBQUAD> palette;  // 1 << bpp entries for an indexed picture, none otherwise
  std::vector<std::uint8_t> bits;

  bool indexed() const { return bpp <= 8; }
  std::uint8_t* row(int y) {
    return bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch);
  }
  const std::uint8_t* row(int y) const {
    return bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch);
  }
  // The palette index of (x, y) of an indexed picture.
  int indexAt(int x, int y) const;
  void setIndex(int x, int y, int index);
  // (x, y) as blue, green, red, alpha (alpha 255 for a picture without one).
  RGBQUAD colorAt(int x, int y) const;
};

// The row length in bytes of `width` pixels at `bpp` bits, rounded up to 4 bytes.
std::size_t imagePitch(int width, int bpp);

// Why a picture of width × height cannot be held (a size of zero, or beyond kImagePixelBudget),
// or nothing when it can. Checked from a file's header before any pixel memory is allocated.
std::optional<std::string> imageSizeProblem(long long width, long long height);

// A picture of the size and depth with every byte zero and a grey ramp as the colour table of
// an indexed picture; the size must have passed imageSizeProblem.
ImagePixels makeImagePixels(int width, int height, int bpp, bool alpha);

// A grey ramp of `entries` colours from black to white.
std::vector<RGBQUAD> greyRamp(int entries);

// What a decoder gives: the picture, or why there is none.
struct DecodedImage {
  std::optional<ImagePixels> pixels;
  std::string message;
};

inline DecodedImage decodeFailure(std::string message) {
  return DecodedImage{std::nullopt, std::move(message)};
}

// Decodes a file's bytes, the format told by its first bytes (BMP, PNG, JPEG, GIF).
DecodedImage decodeImage(std::span<const std::uint8_t> bytes);

}  // namespace vtcad::platform
