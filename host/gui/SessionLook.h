#pragma once
// What the session's system variables say the drawing area shows besides the drawing: the
// grid (GRIDMODE, GRIDUNIT), as the program's pictures show it.
#include "render/DrawingRenderer.h"

namespace vtcad::gui {

render::GridStyle sessionGrid();

}  // namespace vtcad::gui
