// A text's glyph outlines mapped through its box.
#include "render/TextPainter.h"

#include <algorithm>
#include <cmath>

#include "database/FontService.h"
#include "render/TextGlyphs.h"
#include "zcad/db/ZcDbText.h"

namespace vtcad::render {

void paintText(Canvas& canvas, const Projection& toPixel, const ZcDbText& text, Rgb color) {
  const std::optional<TextGlyphFrame> frame = textGlyphFrame(text);
  if (!frame) return;
  // Text units to pixels: x along the baseline, y up (with the oblique's shear).
  const ZcGePoint2d origin = toPixel(frame->origin);
  const ZcGePoint2d alongEnd = toPixel(frame->origin + frame->along),
                    upEnd = toPixel(frame->origin + frame->up);
  const ZcGePoint2d ax(alongEnd.x - origin.x, alongEnd.y - origin.y),
      ay(upEnd.x - origin.x, upEnd.y - origin.y);
  if (std::hypot(ay.x, ay.y) < kSmallestTextPx) {
    canvas.moveTo(origin);
    canvas.lineTo({origin.x + frame->width * ax.x, origin.y + frame->width * ax.y});
    return;
  }
  std::vector<std::vector<ZcGePoint2d>> contours;
  forEachGlyphContour(*frame, [&](const std::vector<ZcGePoint2d>& contour, double pen) {
    std::vector<ZcGePoint2d>& out = contours.emplace_back();
    out.reserve(contour.size());
    for (const ZcGePoint2d& p : contour) {
      const double x = pen + p.x;
      out.emplace_back(origin.x + x * ax.x + p.y * ay.x, origin.y + x * ax.y + p.y * ay.y);
    }
  });
  canvas.fillContours(contours, color);
}

void paintMText(Canvas& canvas, const Projection& toPixel, const ZcDbMText& mtext, Rgb color,
                const GlyphColor& glyphColor) {
  const std::vector<PlacedGlyph> glyphs = mtextGlyphs(mtext);
  GlyphOutlines& outlines = GlyphOutlines::instance();
  // Glyphs of one colour are filled together, in runs as the contents change colour.
  std::vector<std::vector<ZcGePoint2d>> contours;
  Rgb runColor = color;
  for (const PlacedGlyph& glyph : glyphs) {
    const Rgb own =
        glyph.colorIndex < 0 && glyph.trueColor < 0 ? color : glyphColor(glyph.colorIndex, glyph.trueColor);
    if (!(own == runColor) && !contours.empty()) {
      canvas.fillContours(contours, runColor);
      contours.clear();
    }
    runColor = own;
    const ZcGePoint2d origin = toPixel(glyph.origin);
    const ZcGePoint2d alongEnd = toPixel(glyph.origin + glyph.along),
                      upEnd = toPixel(glyph.origin + glyph.up);
    const ZcGePoint2d ax(alongEnd.x - origin.x, alongEnd.y - origin.y),
        ay(upEnd.x - origin.x, upEnd.y - origin.y);
    if (std::hypot(ay.x, ay.y) < kSmallestTextPx) {
      const double advance = db::FontService::instance().glyph(glyph.font, glyph.ch).advance;
      canvas.setPen({own, Canvas::kThinWidth});
      canvas.moveTo(origin);
      canvas.lineTo({origin.x + advance * ax.x, origin.y + advance * ax.y});
      continue;
    }
    for (const std::vector<ZcGePoint2d>& contour : outlines.shape(glyph.font, glyph.ch)) {
      std::vector<ZcGePoint2d>& out = contours.emplace_back();
      out.reserve(contour.size());
      for (const ZcGePoint2d& p : contour)
        out.emplace_back(origin.x + p.x * ax.x + p.y * ay.x, origin.y + p.x * ax.y + p.y * ay.y);
    }
  }
  if (!contours.empty()) canvas.fillContours(contours, runColor);
}

}  // namespace vtcad::render
