#pragma once
// Colours of the picture: the index colours of the standard 256-colour table, and which
// colour index 7 takes on a background (white on a dark one, black on a light one).
#include <cstdint>

namespace vtcad::render {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  bool operator==(const Rgb&) const = default;
  // 0x00RRGGBB, the palette's and ZcCmColor's layout.
  static Rgb fromPacked(std::uint32_t rgb) {
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
            static_cast<std::uint8_t>(rgb)};
  }
};

// Index 1..255 from the palette; 0 (ByBlock) and out-of-range indexes answer index 7's white.
Rgb aciColor(int index);
// Light by perceived luminance (ITU-R BT.601 weights) above the middle.
bool isLight(Rgb color);
// What index 7 (and ByBlock at the top level) draws in on `background`.
Rgb foregroundOn(Rgb background);

}  // namespace vtcad::render
