// Sketches painted by the renderer's canvas on a Cairo image, copied into a CImage.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "render/Canvas.h"
#include "render/GlyphOutlines.h"
#include "zcad/ui/ZcUiSketch.h"

namespace {

vtcad::render::Rgb rgbOf(COLORREF colour) {
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// Gap between characters and the advance of a character without ink (a space), in text heights.
constexpr double kLetterGap = 0.12;
constexpr double kBlankAdvance = 0.45;

// The width of `shape` in text heights from the pen (its ink's right edge).
double inkRight(const vtcad::render::GlyphShape& shape) {
  double right = 0.0;
  bool any = false;
  for (const auto& contour : shape) {
    for (const ZcGePoint2d& p : contour) {
      right = any ? std::max(right, p.x) : p.x;
      any = true;
    }
  }
  return any ? right : -1.0;
}

void paintText(vtcad::render::Canvas& canvas, const ZcUiSketchText& text) {
  vtcad::render::GlyphOutlines& outlines = vtcad::render::GlyphOutlines::instance();
  const vtcad::db::FontChoice font{};
  // First the advances, so the text can be centred on its point.
  std::vector<double> advances;
  double total = 0.0;
  for (wchar_t ch : text.text) {
    const double right = inkRight(outlines.shape(font, static_cast<char32_t>(ch)));
    const double advance = right < 0.0 ? kBlankAdvance : right + kLetterGap;
    advances.push_back(advance);
    total += advance;
  }
  double pen = text.centre.x - total * text.height / 2.0;
  for (std::size_t i = 0; i < text.text.size(); ++i) {
    const auto& shape = outlines.shape(font, static_cast<char32_t>(text.text[i]));
    std::vector<std::vector<ZcGePoint2d>> contours;
    for (const auto& contour : shape) {
      std::vector<ZcGePoint2d>& placed = contours.emplace_back();
      // Text heights up from the baseline to pixels down the picture.
      for (const ZcGePoint2d& p : contour)
        placed.emplace_back(pen + p.x * text.height, text.centre.y - p.y * text.height);
    }
    if (!contours.empty()) canvas.fillContours(contours, rgbOf(text.colour));
    pen += advances[i] * text.height;
  }
}

}  // namespace

bool zcuiPaintSketch(const ZcUiSketch& sketch, CImage& picture) {
  if (sketch.width <= 0 || sketch.height <= 0 ||
      static_cast<long long>(sketch.width) * sketch.height > kImagePixelBudget) {
    return false;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, sketch.width, sketch.height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return false;
  }
  cairo_t* cr = cairo_create(surface);
  {
    vtcad::render::Canvas canvas(cr, sketch.width, sketch.height);
    canvas.clear(rgbOf(sketch.background));
    for (const ZcUiSketchStroke& stroke : sketch.strokes) {
      canvas.setPen({rgbOf(stroke.colour), stroke.width});
      bool started = false;
      for (const ZcGePoint2d& p : stroke.points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
          started = false;
          continue;
        }
        if (started) {
          canvas.lineTo(p);
        } else {
          canvas.moveTo(p);
          started = true;
        }
      }
    }
    canvas.flush();
    for (const ZcUiSketchText& text : sketch.texts) paintText(canvas, text);
    canvas.flush();
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  CImage painted;
  if (!painted.Create(sketch.width, sketch.height, 32)) {
    cairo_surface_destroy(surface);
    return false;
  }
  // Cairo's RGB24 is a native-endian 0xXXRRGGBB word: blue, green, red, unused on this
  // little-endian machine, the byte order of a 32-bit DIB.
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < sketch.height; ++y) {
    const auto* source = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    auto* target = static_cast<unsigned char*>(painted.GetPixelAddress(0, y));
    for (int x = 0; x < sketch.width; ++x) {
      const std::uint32_t word = source[x];
      target[4 * x + 0] = static_cast<unsigned char>(word & 0xFF);
      target[4 * x + 1] = static_cast<unsigned char>((word >> 8) & 0xFF);
      target[4 * x + 2] = static_cast<unsigned char>((word >> 16) & 0xFF);
      target[4 * x + 3] = 255;
    }
  }
  cairo_surface_destroy(surface);
  picture = std::move(painted);
  return true;
}
