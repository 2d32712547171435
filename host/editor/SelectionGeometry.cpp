#include "editor/SelectionGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace vtcad::editor {
namespace {

struct Box {
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;

  bool contains(const ZcGePoint2d& p) const {
    return p.x >= minX && p.x <= maxX && p.y >= minY && p.y <= maxY;
  }
};

Box boxOf(const ZcGePoint2d& a, const ZcGePoint2d& b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool overlap(const Box& a, const Box& b) {
  return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

// The usable window of two corners, or none (no area, non-finite).
bool windowOf(const ZcGePoint2d& corner1, const ZcGePoint2d& corner2, Box& window) {
  if (!zcgeIsFinite(corner1) || !zcgeIsFinite(corner2)) return false;
  window = boxOf(corner1, corner2);
  return window.maxX > window.minX && window.maxY > window.minY;
}

// Calls visit(a, b) for every segment of the outline; a part of one point is the segment
// (p, p).
template <typename Visit>
bool anySegment(const EntityOutline& outline, Visit visit) {
  for (const OutlinePart& part : outline.parts) {
    const std::vector<ZcGePoint2d>& p = part.points;
    if (p.size() == 1 && visit(p[0], p[0])) return true;
    for (std::size_t i = 1; i < p.size(); ++i)
      if (visit(p[i - 1], p[i])) return true;
    if (part.closed && p.size() > 2 && visit(p.back(), p.front())) return true;
  }
  return false;
}

template <typename Test>
bool anyVertex(const EntityOutline& outline, Test test) {
  for (const OutlinePart& part : outline.parts)
    for (const ZcGePoint2d& p : part.points)
      if (test(p)) return true;
  return false;
}

// Whether the point is inside a filled area of the outline: the even-odd rule over the
// closed parts of each fill region (a horizontal ray from the point, half-open in y so a
// vertex on the ray counts once).
bool inFilledArea(const EntityOutline& outline, const ZcGePoint2d& p) {
  std::vector<std::pair<int, bool>> parity;
  for (const OutlinePart& part : outline.parts) {
    if (part.fillRegion <= 0 || !part.closed || part.points.size() < 3) continue;
    bool odd = false;
    const std::vector<ZcGePoint2d>& v = part.points;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
      const ZcGePoint2d& a = v[j];
      const ZcGePoint2d& b = v[i];
      if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) / (b.y - a.y) * (b.x - a.x)) odd = !odd;
    }
    const auto region = std::find_if(parity.begin(), parity.end(), [&part](const std::pair<int, bool>& r) {
      return r.first == part.fillRegion;
    });
    if (region == parity.end()) {
      parity.emplace_back(part.fillRegion, odd);
    } else {
      region->second = region->second != odd;
    }
  }
  return std::any_of(parity.begin(), parity.end(), [](const std::pair<int, bool>& r) { return r.second; });
}

// Liang-Barsky clipping: whether the closed segment meets the closed box.
bool segmentMeetsBox(const ZcGePoint2d& a, const ZcGePoint2d& b, const Box& box) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = b.x - a.x, dy = b.y - a.y;
  // Each edge of the box cuts the parameter range: p * t <= q keeps the inside.
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - box.minX, box.maxX - a.x, a.y - box.minY, box.maxY - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  return true;
}

double cross(const ZcGeVector2d& u, const ZcGeVector2d& v) { return u.x * v.y - u.y * v.x; }

bool onSegment(const ZcGePoint2d& p, const ZcGePoint2d& a, const ZcGePoint2d& b) {
  return cross(b - a, p - a) == 0.0 && boxOf(a, b).contains(p);
}

int orientation(const ZcGePoint2d& a, const ZcGePoint2d& b, const ZcGePoint2d& c) {
  const double value = cross(b - a, c - a);
  return (value > 0.0) - (value < 0.0);
}

// Whether the closed segments [a, b] and [c, d] share a point (touching and overlapping
// count).
bool segmentsMeet(const ZcGePoint2d& a, const ZcGePoint2d& b, const ZcGePoint2d& c, const ZcGePoint2d& d) {
  const int o1 = orientation(a, b, c), o2 = orientation(a, b, d);
  const int o3 = orientation(c, d, a), o4 = orientation(c, d, b);
  // Each segment's ends on different sides of (or one on) the other's line: they cross.
  if (o1 != o2 && o3 != o4) return true;
  // Otherwise they meet only where an end lies on the other segment.
  return (o1 == 0 && onSegment(c, a, b)) || (o2 == 0 && onSegment(d, a, b)) ||
         (o3 == 0 && onSegment(a, c, d)) || (o4 == 0 && onSegment(b, c, d));
}

// A selection polygon ready for tests: consecutive repeated points and a closing repeat of
// the first point dropped.
struct Polygon {
  std::vector<ZcGePoint2d> points;
  Box box;

  template <typename Visit>
  bool anyEdge(Visit visit) const {
    for (std::size_t i = 0; i < points.size(); ++i)
      if (visit(points[i], points[(i + 1) % points.size()])) return true;
    return false;
  }

  // Even-odd rule with the edges themselves inside.
  bool containsOrTouches(const ZcGePoint2d& p) const {
    if (!box.contains(p)) return false;
    if (anyEdge([&p](const ZcGePoint2d& a, const ZcGePoint2d& b) { return onSegment(p, a, b); })) return true;
    bool inside = false;
    anyEdge([&](const ZcGePoint2d& a, const ZcGePoint2d& b) {
      // Half-open in y, so a ray through a vertex counts it once.
      if ((a.y > p.y) != (b.y > p.y)) {
        const double x = a.x + (p.y - a.y) / (b.y - a.y) * (b.x - a.x);
        if (p.x < x) inside = !inside;
      }
      return false;
    });
    return inside;
  }
};

PolygonShape preparePolygon(const std::vector<ZcGePoint2d>& input, Polygon& polygon) {
  polygon.points.clear();
  for (const ZcGePoint2d& p : input) {
    if (!zcgeIsFinite(p)) return PolygonShape::kNonFinite;
    if (polygon.points.empty() || polygon.points.back().x != p.x || polygon.points.back().y != p.y)
      polygon.points.push_back(p);
  }
  while (polygon.points.size() > 1 && polygon.points.back().x == polygon.points.front().x &&
         polygon.points.back().y == polygon.points.front().y)
    polygon.points.pop_back();
  if (polygon.points.size() < 3) return PolygonShape::kTooFewPoints;
  const ZcGePoint2d& a = polygon.points[0];
  const ZcGePoint2d& b = polygon.points[1];
  const bool flat = std::all_of(polygon.points.begin(), polygon.points.end(),
                                [&](const ZcGePoint2d& p) { return cross(b - a, p - a) == 0.0; });
  if (flat) return PolygonShape::kNoArea;
  polygon.box = boxOf(a, a);
  for (const ZcGePoint2d& p : polygon.points) {
    polygon.box.minX = std::min(polygon.box.minX, p.x);
    polygon.box.minY = std::min(polygon.box.minY, p.y);
    polygon.box.maxX = std::max(polygon.box.maxX, p.x);
    polygon.box.maxY = std::max(polygon.box.maxY, p.y);
  }
  return PolygonShape::kUsable;
}

// Whether the segment [p, q], whose ends are inside the polygon, stays inside: cut at every
// point where it meets an edge, each piece lies wholly inside or wholly outside (its inside
// meets no edge), so its midpoint decides.
bool segmentStaysInside(const ZcGePoint2d& p, const ZcGePoint2d& q, const Polygon& polygon) {
  const ZcGeVector2d d = q - p;
  if (d.x == 0.0 && d.y == 0.0) return true;
  std::vector<double> cuts{0.0, 1.0};
  const double lengthSqrd = d.x * d.x + d.y * d.y;
  polygon.anyEdge([&](const ZcGePoint2d& a, const ZcGePoint2d& b) {
    const ZcGeVector2d e = b - a;
    const double denominator = cross(d, e);
    if (denominator != 0.0) {
      const double t = cross(a - p, e) / denominator;
      const double u = cross(a - p, d) / denominator;
      if (t > 0.0 && t < 1.0 && u >= 0.0 && u <= 1.0) cuts.push_back(t);
    } else if (cross(a - p, d) == 0.0) {
      // Along the same line: the edge's ends cut the segment where they lie on it.
      for (const ZcGePoint2d& end : {a, b}) {
        const double t = (end - p).dotProduct(d) / lengthSqrd;
        if (t > 0.0 && t < 1.0) cuts.push_back(t);
      }
    }
    return false;
  });
  std::sort(cuts.begin(), cuts.end());
  for (std::size_t i = 1; i < cuts.size(); ++i) {
    if (cuts[i] == cuts[i - 1]) continue;
    if (!polygon.containsOrTouches(p + d * (0.5 * (cuts[i - 1] + cuts[i])))) return false;
  }
  return true;
}

}  // namespace

PolygonShape checkSelectionPolygon(const std::vector<ZcGePoint2d>& polygon) {
  Polygon prepared;
  return preparePolygon(polygon, prepared);
}

bool insideWindow(const EntityOutline& outline, const ZcGePoint2d& corner1, const ZcGePoint2d& corner2) {
  Box window;
  if (outline.status != OutlineStatus::kComplete || !windowOf(corner1, corner2, window)) return false;
  // The window is convex: segments between inside vertices stay inside.
  return !anyVertex(outline, [&window](const ZcGePoint2d& p) { return !window.contains(p); });
}

bool crossesWindow(const EntityOutline& outline, const ZcGePoint2d& corner1, const ZcGePoint2d& corner2) {
  // A flat crossing window (a segment or a point) takes what touches it.
  if (!zcgeIsFinite(corner1) || !zcgeIsFinite(corner2)) return false;
  const Box window = boxOf(corner1, corner2);
  const bool touched = anySegment(outline, [&window](const ZcGePoint2d& a, const ZcGePoint2d& b) {
    return window.contains(a) || segmentMeetsBox(a, b, window);
  });
  // Otherwise the window and a filled area overlap only if the window lies wholly in it.
  return touched || inFilledArea(outline, ZcGePoint2d(window.minX, window.minY));
}

bool insidePolygon(const EntityOutline& outline, const std::vector<ZcGePoint2d>& polygon) {
  Polygon prepared;
  if (outline.status != OutlineStatus::kComplete ||
      preparePolygon(polygon, prepared) != PolygonShape::kUsable)
    return false;
  if (anyVertex(outline, [&prepared](const ZcGePoint2d& p) { return !prepared.containsOrTouches(p); }))
    return false;
  return !anySegment(outline, [&prepared](const ZcGePoint2d& a, const ZcGePoint2d& b) {
    return !segmentStaysInside(a, b, prepared);
  });
}

bool crossesPolygon(const EntityOutline& outline, const std::vector<ZcGePoint2d>& polygon) {
  Polygon prepared;
  if (preparePolygon(polygon, prepared) != PolygonShape::kUsable) return false;
  if (anyVertex(outline, [&prepared](const ZcGePoint2d& p) { return prepared.containsOrTouches(p); }))
    return true;
  const bool touched = anySegment(outline, [&prepared](const ZcGePoint2d& a, const ZcGePoint2d& b) {
    if (!overlap(boxOf(a, b), prepared.box)) return false;
    return prepared.anyEdge(
        [&](const ZcGePoint2d& c, const ZcGePoint2d& d) { return segmentsMeet(a, b, c, d); });
  });
  // Otherwise the polygon and a filled area overlap only if the polygon lies wholly in it.
  return touched || inFilledArea(outline, prepared.points.front());
}

double distanceTo(const EntityOutline& outline, const ZcGePoint2d& point) {
  double best = std::numeric_limits<double>::infinity();
  if (!zcgeIsFinite(point)) return best;
  if (inFilledArea(outline, point)) return 0.0;
  anySegment(outline, [&](const ZcGePoint2d& a, const ZcGePoint2d& b) {
    const ZcGeVector2d ab = b - a;
    const double lengthSqrd = ab.x * ab.x + ab.y * ab.y;
    const double t = lengthSqrd > 0.0 ? std::clamp((point - a).dotProduct(ab) / lengthSqrd, 0.0, 1.0) : 0.0;
    best = std::min(best, point.distanceTo(a + ab * t));
    return false;
  });
  return best;
}

}  // namespace vtcad::editor
