#pragma once
// The grid the session's system variables ask for (GRIDMODE, GRIDUNIT): the pictures of the
// command line and the window's canvas show the same one.
#include "render/DrawingRenderer.h"

namespace vtcad::render {

GridStyle sessionGrid();

}  // namespace vtcad::render
