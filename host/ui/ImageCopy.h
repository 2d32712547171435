#pragma once
// A copy of a picture (CImage itself cannot be copied): same size, depth, alpha and colours.
#include "zcad/platform/zcimage.h"

namespace vtcad::ui {

// An empty picture for an empty one, or when memory for the copy cannot be had.
CImage copyImage(const CImage& picture);

}  // namespace vtcad::ui
