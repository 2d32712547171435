#pragma once
// The in-place picture passes of the image commands. Each works on 24- and 32-bit pictures in
// their pixel memory (alpha untouched) and on 8-bit pictures through the colour of each pixel;
// other depths are left as they are (the commands load pictures at 8, 24 or 32 bits).
#include "zcad/platform/zcimage.h"

namespace veltrace {

struct Colour {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Colour&) const = default;
};

// Contrast of slider position v: factor v + 0.5 below 50, else 1.5 v / 50; each channel c
// becomes (c - 128) f + 128, cut to its integer part and clamped to 0 ... 255.
void applyContrast(CImage& picture, int v);
// Brightness of slider position v: factor v / 100 below 50, else v / 50; c becomes c g.
void applyBrightness(CImage& picture, int v);
// Black and white at t (limited to 5 ... 250): red + green + blue of at least 3 t is black,
// everything else white.
void applyThreshold(CImage& picture, int t);
// Every pixel but the outermost ring replaced by quantizeColor with q steps (q at least 1).
void applyColorGradient(CImage& picture, int q);
// The colour in q hue, saturation and value steps (HSV on the 0 ... 1 scale).
Colour quantizeColor(int red, int green, int blue, int q);

}  // namespace veltrace
