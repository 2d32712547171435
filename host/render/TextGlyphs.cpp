#include "render/TextGlyphs.h"

#include <algorithm>

#include "database/FontService.h"
#include "database/MTextLayout.h"
#include "database/TextCodes.h"
#include "zcad/db/ZcDbMText.h"
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

std::vector<PlacedGlyph> mtextGlyphs(const ZcDbMText& mtext) {
  const db::MTextEntityLayout laid = db::layoutOfMText(mtext, /*placeGlyphs=*/true);
  const db::MTextLayoutResult& layout = laid.layout;
  std::vector<PlacedGlyph> glyphs;
  if (layout.lines.empty()) return glyphs;
  // The box as ZcDbMText::getBoundingPoints has it: the attachment point's column and row.
  const int attachment = static_cast<int>(mtext.attachment());
  const int column = (attachment - 1) % 3;  // 0 left, 1 centre, 2 right
  const int row = (attachment - 1) / 3;     // 0 top, 1 middle, 2 bottom
  const double left = -0.5 * column * layout.width;
  const double top = 0.5 * row * layout.height;
  const ZcGeVector3d x = mtext.direction().normal();
  const ZcGeVector3d y = mtext.normal().crossProduct(x).normal();
  const ZcGePoint3d location = mtext.location();
  glyphs.reserve(layout.glyphs.size());
  for (const db::MTextGlyph& g : layout.glyphs) {
    if (g.ch == U' ') continue;
    const db::MTextFormat& format = laid.contents.formats[static_cast<std::size_t>(g.format)];
    const db::MTextLine& line = layout.lines[static_cast<std::size_t>(g.line)];
    // Each line sits in the box as the attachment's column aligns it.
    const double lineStart = left + 0.5 * column * (layout.width - line.width);
    const double height = format.height * g.scale;
    PlacedGlyph placed;
    placed.origin = location + x * (lineStart + g.x) + y * (top + line.baseline + g.y);
    placed.along = x * (height * format.widthFactor);
    placed.up = y * height;
    placed.font = db::mtextFontOf(format, laid.styleFont);
    placed.ch = g.ch;
    placed.colorIndex = format.colorIndex;
    placed.trueColor = format.trueColor;
    glyphs.push_back(placed);
  }
  return glyphs;
}

}  // namespace vtcad::render
