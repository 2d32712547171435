#include "render/TextGlyphs.h"

#include <algorithm>

#include "database/FontService.h"
#include "database/TextCodes.h"
#include "zcad/db/ZcDbText.h"

namespace vtcad::render {

std::optional<TextGlyphFrame> textGlyphFrame(const ZcDbText& text) {
  ZcGePoint3dArray corners;  // top-left, top-right, bottom-left, bottom-right
  if (text.getBoundingPoints(corners) != Zcad::eOk || corners.length() != 4) return std::nullopt;
  TextGlyphFrame frame;
  frame.font = db::readTextStyle(text.textStyle()).font;
  frame.chars = db::decodeTextCodes(text.textStringConst());
  // The box in text heights, as the extents measure it.
  db::FontService& fonts = db::FontService::instance();
  double bottom = 0.0, top = 1.0;
  for (char32_t ch : frame.chars) {
    const db::GlyphMetrics g = fonts.glyph(frame.font, ch);
    frame.width += g.advance;
    bottom = std::min(bottom, g.bottom);
    top = std::max(top, g.top);
  }
  if (!(frame.width > 0.0) || !(top > bottom)) return std::nullopt;
  const ZcGePoint3d bottomLeft = corners[2];
  frame.along = (corners[3] - bottomLeft) / frame.width;
  frame.up = (corners[0] - bottomLeft) / (top - bottom);
  frame.origin = bottomLeft - frame.up * bottom;
  return frame;
}

}  // namespace vtcad::render
