#pragma once
// BMP files: our own reader and writer (the format is a header in front of the DIB's rows).
#include <cstdint>
#include <span>
#include <string>

#include "platform/ImagePixels.h"

namespace vtcad::platform {

// Reads 1, 4, 8, 16 (5-5-5, or any masks with BI_BITFIELDS), 24 and 32 bits per pixel,
// bottom-up and top-down, uncompressed, BI_BITFIELDS, RLE8 and RLE4; embedded JPEG/PNG is refused.
// Indexed files stay indexed at their depth, 16 bits become 24, 32 bits stay 32 (with alpha
// when the header has an alpha mask).
DecodedImage decodeBmp(std::span<const std::uint8_t> bytes);

// Writes a bottom-up BITMAPINFOHEADER file: indexed pictures at their own depth with their
// colour table, every other picture at 24 bits (alpha dropped).
std::string encodeBmp(const ImagePixels& pixels);

}  // namespace vtcad::platform
