#pragma once
// TextPainter: single-line texts (TEXT) filled from their glyph outlines, placed in the box
// the text's extents give (ZcDbText::getBoundingPoints), so the ink and the extents agree:
// height, width factor, rotation, oblique angle, mirroring and justification all come from
// that box. Glyphs advance by the font service's widths, the ones the extents add up.
// A text less than kSmallestTextPx pixels high is drawn as its box's baseline, as CAD
// programs show unreadable text.
#include <functional>

#include "render/Canvas.h"
#include "render/Projection.h"

class ZcDbMText;
class ZcDbText;

namespace vtcad::render {

inline constexpr double kSmallestTextPx = 2.0;

void paintText(Canvas& canvas, const Projection& toPixel, const ZcDbText& text, Rgb color);

// The colour of a glyph that has its own (\C, \c in the contents): index, or true colour.
using GlyphColor = std::function<Rgb(int colorIndex, long trueColor)>;

// MText: each character from the layout its extents come from (TextGlyphs), in the entity's
// colour or the one its contents give; characters under kSmallestTextPx high as baselines.
void paintMText(Canvas& canvas, const Projection& toPixel, const ZcDbMText& mtext, Rgb color,
                const GlyphColor& glyphColor);

}  // namespace vtcad::render
