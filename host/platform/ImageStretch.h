#pragma once
// Stretching one picture into a rectangle of another (CImage::StretchBlt).
#include "platform/ImagePixels.h"

namespace vtcad::platform {

enum class StretchMode {
  kAverage,  // HALFTONE: each target pixel is the area-weighted mean of the source it covers
  kNearest,  // COLORONCOLOR: the source pixel under the target pixel's centre
};

// Draws the whole of `source` into (x, y, width, height) of `target`, clipped to the target;
// the rectangle must not be empty. An indexed target always takes the nearest source pixel and
// stores the nearest colour of its table.
void stretchPixels(const ImagePixels& source, ImagePixels& target, int x, int y, int width, int height,
                   StretchMode mode);

// The index of the colour of `table` nearest to `color` (squared distance in RGB).
int nearestColorIndex(const std::vector<RGBQUAD>& table, RGBQUAD color);

}  // namespace vtcad::platform
