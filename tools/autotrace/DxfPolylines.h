#pragma once
// The tracer's output: a DXF drawing (R2000) with one layer per grey step and the traced
// curves as closed lightweight polylines on them.
#include <string>
#include <vector>

#include "CurveFlattening.h"

namespace vtcad::tracer {

struct TracedLayer {
  std::string name;
  int grey = 0;  // the step's grey value 0 ... 255, the layer's true colour
  std::vector<std::vector<Point>> polylines;
};

// The whole file's text.
std::string dxfDrawing(const std::vector<TracedLayer>& layers);

}  // namespace vtcad::tracer
