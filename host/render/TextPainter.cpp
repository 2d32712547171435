// A text's glyph outlines mapped through its box.
#include "render/TextPainter.h"

#include <algorithm>
#include <cmath>

#include "database/FontService.h"
#include "database/TextCodes.h"
#include "database/TextStyleFont.h"
#include "render/GlyphOutlines.h"
#include "zcad/db/ZcDbText.h"

namespace vtcad::render {

void paintText(Canvas& canvas, const Projection& toPixel, const ZcDbText& text, Rgb color) {
  ZcGePoint3dArray corners;  // top-left, top-right, bottom-left, bottom-right
  if (text.getBoundingPoints(corners) != Zcad::eOk || corners.length() != 4) return;
  const db::TextStyleData style = db::readTextStyle(text.textStyle());
  const std::u32string chars = db::decodeTextCodes(text.textStringConst());
  // The box in text heights, as the extents measure it.
  db::FontService& fonts = db::FontService::instance();
  double width = 0.0, bottom = 0.0, top = 1.0;
  for (char32_t ch : chars) {
    const db::GlyphMetrics g = fonts.glyph(style.font, ch);
    width += g.advance;
    bottom = std::min(bottom, g.bottom);
    top = std::max(top, g.top);
  }
  if (!(width > 0.0) || !(top > bottom)) return;
  // Text units to pixels: x along the baseline, y up (with the oblique's shear).
  const ZcGePoint2d bl = toPixel(corners[2]), br = toPixel(corners[3]), tl = toPixel(corners[0]);
  const ZcGePoint2d ax((br.x - bl.x) / width, (br.y - bl.y) / width);
  const ZcGePoint2d ay((tl.x - bl.x) / (top - bottom), (tl.y - bl.y) / (top - bottom));
  const ZcGePoint2d origin(bl.x - bottom * ay.x, bl.y - bottom * ay.y);
  if (std::hypot(ay.x, ay.y) < kSmallestTextPx) {
    canvas.moveTo(origin);
    canvas.lineTo({origin.x + width * ax.x, origin.y + width * ax.y});
    return;
  }
  GlyphOutlines& outlines = GlyphOutlines::instance();
  std::vector<std::vector<ZcGePoint2d>> contours;
  double pen = 0.0;
  for (char32_t ch : chars) {
    for (const std::vector<ZcGePoint2d>& contour : outlines.shape(style.font, ch)) {
      std::vector<ZcGePoint2d>& out = contours.emplace_back();
      out.reserve(contour.size());
      for (const ZcGePoint2d& p : contour) {
        const double x = pen + p.x;
        out.emplace_back(origin.x + x * ax.x + p.y * ay.x, origin.y + x * ax.y + p.y * ay.y);
      }
    }
    pen += fonts.glyph(style.font, ch).advance;
  }
  canvas.fillContours(contours, color);
}

}  // namespace vtcad::render
