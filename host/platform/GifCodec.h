#pragma once
// GIF files through giflib: the first frame only.
#include <cstdint>
#include <span>

#include "platform/ImagePixels.h"

namespace vtcad::platform {

// The first frame composed onto the logical screen (filled with the background colour; the
// frame's transparent pixels leave it showing), 8-bit indexed with the frame's own colour
// table or else the global one; interlaced frames are put in row order. Records are read only
// up to that frame, never the whole file at once.
DecodedImage decodeGif(std::span<const std::uint8_t> bytes);

}  // namespace vtcad::platform
