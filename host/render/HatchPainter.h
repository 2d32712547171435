#pragma once
// HatchPainter: hatches as their loops show them, islands as the hatch style says: normal
// (islands alternate, even-odd over every loop), outer (the outermost loops and the islands
// directly inside them only) or ignore (the outermost loops only). A loop's level is how many
// other loops hold it.
//
// A solid fill fills the loops. A pattern is drawn from its own definition lines, as the file
// gave them (database/HatchPatternLines.h): each a family of parallel lines through its base
// point, one offset apart, dashed by its dash list from the base point on, cut to the loops.
// A hatch without definition lines (made here, or a file that left them out) is drawn as its
// type says: a user-defined pattern at its angle and spacing (crossed when doubled); a
// predefined or custom one as ANSI31 (45-degree lines 3.175 units apart) times its scale,
// turned by its angle. A family whose lines are closer than kMinHatchSpacing pixels is not
// drawn (the area would only grey); a dash pattern shorter than 4 pixels draws continuous.
#include "render/Canvas.h"
#include "render/Projection.h"

class ZcDbHatch;

namespace vtcad::render {

inline constexpr double kMinHatchSpacing = 2.0;

void paintHatch(Canvas& canvas, const Projection& toPixel, const ZcDbHatch& hatch, Rgb color);

}  // namespace vtcad::render
