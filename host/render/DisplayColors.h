#pragma once
// DisplayColors: the colours of the program's display for this session (zcedGetCurrentColors,
// zcedSetCurrentColors); pictures of model space take their background from here.
#include "render/ColorTable.h"
#include "zcad/zced.h"

namespace vtcad::render {

// A new session's colours: a black model space, a white layout.
ZcColorSettings defaultColorSettings();
// The model space background of the current colours.
Rgb modelBackground();

// red | green << 8 | blue << 16 (the settings' layout) and back.
DWORD toColorRef(Rgb color);
Rgb fromColorRef(DWORD color);

}  // namespace vtcad::render
