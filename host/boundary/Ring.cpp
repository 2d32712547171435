#include "boundary/Ring.h"

#include <cmath>

#include "database/BulgeSegment.h"

namespace vtcad::boundary {

namespace {

double cross(const ZcGeVector2d& a, const ZcGeVector2d& b) { return a.x * b.y - a.y * b.x; }

// Winding of the straight edge a -> b around p (the crossing rule of a ray towards +x).
int chordWinding(const ZcGePoint2d& a, const ZcGePoint2d& b, const ZcGePoint2d& p) {
  const double side = cross(b - a, p - a);
  if (a.y <= p.y) {
    if (b.y > p.y && side > 0.0) return 1;
  } else if (b.y <= p.y && side < 0.0) {
    return -1;
  }
  return 0;
}

}  // namespace

double Ring::signedArea() const {
  double area = 0.0;
  const size_t n = vertices.size();
  if (n == 0) return 0.0;
  // Shoelace terms taken about the first vertex: far from the origin, products of absolute
  // coordinates would cancel away the digits a small ring's area is made of.
  const ZcGePoint2d& origin = vertices.front().point;
  for (size_t i = 0; i < n; ++i) {
    const RingVertex& from = vertices[i];
    const ZcGePoint2d& to = vertices[(i + 1) % n].point;
    area += 0.5 * cross(from.point - origin, to - origin);
    if (from.bulge != 0.0) area += db::BulgeSegment(from.point, to, from.bulge).signedSegmentArea();
  }
  return area;
}

int Ring::winding(const ZcGePoint2d& point) const {
  int winding = 0;
  const size_t n = vertices.size();
  for (size_t i = 0; i < n; ++i) {
    const RingVertex& from = vertices[i];
    const ZcGePoint2d& to = vertices[(i + 1) % n].point;
    winding += chordWinding(from.point, to, point);
    if (from.bulge == 0.0) continue;
    const db::BulgeSegment arc(from.point, to, from.bulge);
    if (!arc.isArc()) continue;
    // Inside the circular segment: within the circle and on the arc's side of the chord
    // (a counter-clockwise arc lies to the right of its chord). A point exactly on the
    // circle or the chord is decided as if it lay a little to the right (and then a little
    // above), as the crossing rule of the chords decides it: a point on a chord is then
    // inside on exactly one side.
    const ZcGeVector2d chord = to - from.point;
    const ZcGeVector2d fromCenter = point - arc.center();
    double inCircle = fromCenter.lengthSqrd() - arc.radius() * arc.radius();
    if (inCircle == 0.0) inCircle = fromCenter.x != 0.0 ? fromCenter.x : fromCenter.y;
    if (inCircle >= 0.0) continue;
    double side = cross(chord, point - from.point);
    if (side == 0.0) side = chord.y != 0.0 ? -chord.y : chord.x;
    if (from.bulge > 0.0 && side < 0.0) ++winding;
    if (from.bulge < 0.0 && side > 0.0) --winding;
  }
  return winding;
}

Ring Ring::reversed() const {
  Ring out;
  const size_t n = vertices.size();
  out.vertices.reserve(n);
  for (size_t k = 0; k < n; ++k) {
    // Vertex i's segment runs to i + 1; run backwards, that segment leaves i + 1.
    const size_t i = n - 1 - k;
    out.vertices.push_back({vertices[(i + 1) % n].point, -vertices[i].bulge});
  }
  return out;
}

}  // namespace vtcad::boundary
