#pragma once
// JPEG files through libjpeg-turbo (the libjpeg API).
#include <cstdint>
#include <span>

#include "platform/ImagePixels.h"

namespace vtcad::platform {

// Colour pictures become 24-bit, greyscale 8-bit with a grey ramp, CMYK and YCCK (as Adobe
// programs write them) are converted to 24-bit colour. Data that ends early is refused, not
// shown half grey.
DecodedImage decodeJpeg(std::span<const std::uint8_t> bytes);

}  // namespace vtcad::platform
