#pragma once
// The background regions of a picture of the view: pixels whose colour is the background
// colour within a tolerance per channel, labelled as connected regions (RegionLabelling.h).
#include "outline/LabelGrid.h"
#include "zcad/platform/zcimage.h"

namespace veltrace {

struct Rgb {
  BYTE red = 0;
  BYTE green = 0;
  BYTE blue = 0;
};

// Per channel: antialiased edges and faint lines within this of the background are background.
inline constexpr int kColourTolerance = 32;

// True when every channel of `colour` is within `tolerance` of `background`'s.
inline bool nearColour(Rgb colour, Rgb background, int tolerance) {
  auto near = [tolerance](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
  return near(colour.red, background.red) && near(colour.green, background.green) &&
         near(colour.blue, background.blue);
}

// Labels `grid` (remade at the picture's size unless it has it already): drawn pixels 0, background regions
// 1 ... n - 1, label 1 the region of the first background pixel from the top left. Pictures of
// 24 and 32 bits are read from their pixel memory (blue, green, red); every other depth through
// the colour of each pixel. An empty picture gives an empty grid and n = 1.
int labelBackgroundRegions(Rgb background, const CImage& picture, LabelGrid& grid,
                           int tolerance = kColourTolerance);

}  // namespace veltrace
