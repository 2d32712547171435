#pragma once
// Where a text's glyphs lie in the world: for a single-line text the frame its box gives them
// and the glyph outlines walked in that frame; for an MText each glyph placed by the layout
// its extents are measured with. Pictures and metafiles both place glyphs this way, so
// outlines written to a file sit where the picture draws them.
#include <optional>
#include <string>
#include <vector>

#include "database/FontService.h"
#include "database/TextStyleFont.h"
#include "render/GlyphOutlines.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcDbMText;
class ZcDbText;

namespace vtcad::render {

// One text unit (the font's em) along the baseline and up, in the text's world, from the
// same box as the text's extents; `origin` is the baseline's start.
struct TextGlyphFrame {
  ZcGePoint3d origin;
  ZcGeVector3d along, up;
  double width = 0.0;  // the advance of all glyphs, in text units
  std::u32string chars;
  db::FontChoice font;

  ZcGePoint3d at(double x, double y) const { return origin + along * x + up * y; }
};

// nullopt for a text without a box or without width or height (an empty string, only
// spaces of no advance).
std::optional<TextGlyphFrame> textGlyphFrame(const ZcDbText& text);

// Every glyph contour of the text in its glyph's units, with the pen position to add along
// the baseline: `visit(const std::vector<ZcGePoint2d>& contour, double pen)`.
template <class Visit>
void forEachGlyphContour(const TextGlyphFrame& frame, Visit&& visit) {
  GlyphOutlines& outlines = GlyphOutlines::instance();
  db::FontService& fonts = db::FontService::instance();
  double pen = 0.0;
  for (char32_t ch : frame.chars) {
    for (const std::vector<ZcGePoint2d>& contour : outlines.shape(frame.font, ch)) visit(contour, pen);
    pen += fonts.glyph(frame.font, ch).advance;
  }
}

// One character of an MText in the world: its glyph units map to origin + along * x + up * y.
// Its own colour from the contents (\C, \c), or -1 for the entity's.
struct PlacedGlyph {
  ZcGePoint3d origin;
  ZcGeVector3d along, up;
  db::FontChoice font;
  char32_t ch = 0;
  int colorIndex = -1;  // 0 ByBlock, 1..255, 256 ByLayer
  long trueColor = -1;  // 0xBBGGRR

  ZcGePoint3d at(double x, double y) const { return origin + along * x + up * y; }
};

// The MText's characters as its layout places them: lines aligned by the attachment point in
// the box its extents give (ZcDbMText::getBoundingPoints), in drawing order. Spaces have none.
std::vector<PlacedGlyph> mtextGlyphs(const ZcDbMText& mtext);

}  // namespace vtcad::render
