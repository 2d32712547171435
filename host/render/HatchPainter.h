#pragma once
// HatchPainter: hatches as their loops show them. A solid fill fills the loops (islands
// alternate: even-odd). A pattern is drawn as families of parallel lines cut to the loops
// by the same even-odd rule: a user-defined pattern at its angle and spacing (crossed when
// doubled); a predefined or custom one, whose definition lines the drawing does not hold, as
// 45-degree lines 3.175 units apart (ANSI31, the default pattern) times its scale, turned by its
// angle. Lines closer than kMinHatchSpacing pixels are not drawn (the area would only grey).
#include "render/Canvas.h"
#include "render/Projection.h"

class ZcDbHatch;

namespace vtcad::render {

inline constexpr double kMinHatchSpacing = 2.0;

void paintHatch(Canvas& canvas, const Projection& toPixel, const ZcDbHatch& hatch, Rgb color);

}  // namespace vtcad::render
