#pragma once
// CurvePainter: curves cut into chords no farther than kChordError pixels from the curve,
// handed to the canvas as runs of the current pen. Points go through a projection (world or
// object coordinates to pixels), so block transforms and object coordinate systems cost
// nothing extra.
#include <vector>

#include "render/Canvas.h"
#include "render/Projection.h"
#include "zcad/ge/ZcGePoint2d.h"

class ZcGeCurve3d;

namespace vtcad::render {

// Largest distance in pixels between a chord and its curve.
inline constexpr double kChordError = 0.2;

// Chords for `sweep` radians of a circle `radiusPx` pixels across: at least one, at most 4096.
int arcChordCount(double radiusPx, double sweep);

// A polyline vertex with the bulge and widths of the segment leaving it (object coordinates).
struct BulgeVertex {
  ZcGePoint2d point;
  double bulge = 0.0;
  double startWidth = 0.0;
  double endWidth = 0.0;
};

// A circular arc in the plane of `toPixel` (angles counter-clockwise from its x axis); `join`
// continues the canvas's current run instead of starting one.
void strokeArc(Canvas& canvas, const Projection& toPixel, const ZcGePoint2d& center, double radius,
               double startAngle, double sweep, bool join = false);

// A bulge polyline: thin segments stroked with the current pen, segments whose width shows
// (at least the thin pen's width in pixels) filled in `color`. `patternPerSegment` starts the
// canvas's dash pattern again at every vertex (a polyline without linetype generation).
void paintBulgePolyline(Canvas& canvas, const Projection& toPixel, const std::vector<BulgeVertex>& vertices,
                        bool closed, Rgb color, bool patternPerSegment = false);

// Any parametric curve over [start, end], cut where its chords leave the curve by more than
// kChordError pixels (`unitsPerPixel`: its coordinates' size of a pixel).
void strokeCurve(Canvas& canvas, const Projection& toPixel, const ZcGeCurve3d& curve, double start,
                 double end, double unitsPerPixel);

}  // namespace vtcad::render
