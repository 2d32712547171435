#pragma once
// Canvas: what the renderer draws with, over a cairo_t of any surface (an image for PNG, an
// SVG or PDF file, later a window). Coordinates are ViewTransform pixels (pixel centres on
// whole numbers, y down); the canvas shifts them by half a pixel onto Cairo's grid, where a
// pixel spans [i, i + 1].
//
// Strokes of the same pen are gathered into one Cairo path and stroked together when the pen
// changes or flush() is called: one stroke for thousands of segments is what makes large
// drawings fast. Strokes are antialiased, round-joined and at least kThinWidth wide: √2 is
// the narrowest band whose half-covered pixels are 4-connected at every angle, so a closed
// curve never lets an 8-connected flood fill through a diagonal staircase.
//
// On an opaque image surface thin strokes skip Cairo: HairlineRaster writes them into the
// pixels (same shapes, same coverage, a fraction of the time), through a RasterPipeline that
// writes them on other threads beside the walk of the drawing; wide pens, fills and every
// other surface go through Cairo.
//
// Everything is clipped to the picture plus a margin before it reaches Cairo (Cairo's fixed
// point coordinates overflow far outside it); non-finite points are dropped (the pen lifts).
#include <cairo.h>

#include <memory>
#include <vector>

#include "render/ColorTable.h"
#include "render/HairlineRaster.h"
#include "render/RasterPipeline.h"
#include "zcad/ge/ZcGePoint2d.h"

namespace vtcad::render {

struct Pen {
  Rgb color;
  double width = 1.5;  // pixels; narrower pens draw kThinWidth wide
  bool operator==(const Pen&) const = default;
};

class Canvas {
 public:
  static constexpr double kThinWidth = 1.5;

  Canvas(cairo_t* cr, int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }

  void clear(Rgb background);
  void setPen(const Pen& pen);

  // A connected run of segments with the current pen: moveTo starts it, lineTo extends it,
  // closePath goes back to its first point.
  void moveTo(const ZcGePoint2d& p);
  void lineTo(const ZcGePoint2d& p);
  void closePath();
  // A filled polygon (even-odd), drawn at once over what was stroked before it.
  void fillPolygon(const std::vector<ZcGePoint2d>& points, Rgb color);
  // Closed contours filled together: by the non-zero winding rule (glyphs), or even-odd (hatch
  // loops, where islands alternate).
  void fillContours(const std::vector<std::vector<ZcGePoint2d>>& contours, Rgb color, bool evenOdd = false);
  // A whole thin circle with the current pen, written at once when the picture's pixels take
  // it (an image surface, the thin pen, no dash pattern); false otherwise, and nothing drawn:
  // the caller strokes its chords.
  bool ring(const ZcGePoint2d& center, double radius);
  // A round dot `diameter` pixels across.
  void dot(const ZcGePoint2d& p, double diameter, Rgb color);

  // A dash pattern in pixels for the runs that follow: positive lengths draw, negative ones
  // are gaps, zero is a dot; empty (or without a positive total) draws continuously. Each run
  // starts at the pattern's beginning; restartPattern starts it again at the current point
  // (a polyline's vertex when its pattern is not generated along the whole polyline).
  void setPattern(std::vector<double> pattern);
  void restartPattern() { patternAt_ = 0.0; }

  // Strokes what has been gathered.
  void flush();

 private:
  struct Bounds {
    double xmin, ymin, xmax, ymax;
  };
  void emitSegment(const ZcGePoint2d& a, const ZcGePoint2d& b);
  // A segment of the run: dashed when a pattern is set.
  void runSegment(const ZcGePoint2d& a, const ZcGePoint2d& b);
  void dashSegment(const ZcGePoint2d& a, const ZcGePoint2d& b);
  bool rasterPen() const { return raster_ && pen_.width <= kThinWidth; }
  // Cairo and the raster take turns with the surface's pixels: each hands them over.
  void toRaster();
  void toCairo();
  std::vector<ZcGePoint2d> clipPolygon(const std::vector<ZcGePoint2d>& points) const;

  cairo_t* cr_;
  int width_;
  int height_;
  Bounds clip_;
  Pen pen_;
  bool penSet_ = false;
  bool havePath_ = false;
  // The run: its first point, the last point given (unclipped) and the last point Cairo has.
  ZcGePoint2d runStart_;
  ZcGePoint2d runLast_;
  bool runOpen_ = false;
  bool clippedInRun_ = false;
  ZcGePoint2d cairoLast_;
  bool cairoHasPoint_ = false;
  long opsInPath_ = 0;
  std::vector<double> pattern_;
  double patternLength_ = 0.0;
  double patternAt_ = 0.0;  // how far into the pattern the run is
  std::unique_ptr<RasterPipeline> raster_;
  bool rasterWriting_ = false;
};

}  // namespace vtcad::render
