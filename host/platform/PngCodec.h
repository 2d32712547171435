#pragma once
// PNG files through libpng.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/ImagePixels.h"

namespace vtcad::platform {

// Every colour type and bit depth: palette and grey pictures become 8-bit indexed (grey with a
// grey ramp), colour 24-bit, anything with alpha or a transparent colour (tRNS) 32-bit with
// alpha; 16-bit channels are scaled to 8.
DecodedImage decodePng(std::span<const std::uint8_t> bytes);

// Indexed pictures as palette PNGs of their depth, 24-bit as RGB, 32-bit as RGBA with alpha
// or RGB without. Nothing when libpng fails (out of memory).
std::optional<std::string> encodePng(const ImagePixels& pixels);

}  // namespace vtcad::platform
