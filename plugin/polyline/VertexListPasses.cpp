#include "polyline/VertexListPasses.h"

#include <cmath>

namespace veltrace {

std::size_t straighteningPass(ZcGePoint3d* points, std::size_t count, double threshold) {
  if (count <= 2) return count;
  // The height of the first vertex above the line of the last leg is |u x v| / |v| and the
  // angle between the legs is below the hairpin angle when u . v > 0 and |u x v| < tan * u . v;
  // both are compared squared, so there is no square root, no division and no angle to take,
  // and a zero leg (coincident vertices) fails both tests instead of dividing by zero.
  const double limit = threshold * threshold;
  const double hairpinTan = std::tan(kHairpinAngle);
  const double hairpin = hairpinTan * hairpinTan;
  const std::size_t triples = (count - 3) / 2 + 1;
  // The output never overtakes the input: triple k writes at most up to index 2k + 2 after
  // reading it, and the next triple reads from 2k + 3 on. points[0] stays where it is.
  std::size_t out = 1;
  ZcGePoint3d a = points[0];
  for (std::size_t k = 0; k < triples; ++k) {
    const ZcGePoint3d m = points[2 * k + 1];
    const ZcGePoint3d b = points[2 * k + 2];
    const double ux = a.x - m.x, uy = a.y - m.y, uz = a.z - m.z;
    const double vx = b.x - m.x, vy = b.y - m.y, vz = b.z - m.z;
    const double cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
    const double cross = cx * cx + cy * cy + cz * cz;
    const double dot = ux * vx + uy * vy + uz * vz;
    const double leg = vx * vx + vy * vy + vz * vz;
    const bool high = cross > limit * leg;
    const bool turnsBack = (dot > 0.0) & (cross < hairpin * dot * dot);
    points[out] = m;
    out += static_cast<std::size_t>(high | turnsBack);
    points[out++] = b;
    a = b;
  }
  if (count % 2 == 0) points[out++] = points[count - 1];
  return out;
}

std::size_t straightenVertices(ZcGePoint3d* points, std::size_t count, double threshold) {
  for (int pass = 0; pass < kStraighteningPasses && count > 2; ++pass) {
    count = straighteningPass(points, count, threshold);
  }
  return count;
}

std::size_t mergeVertexClusters(ZcGePoint3d* points, std::size_t count, double radius) {
  if (count == 0) return 0;
  const ZcGePoint3d last = points[count - 1];
  const double limit = radius * radius;
  // One output per group, written where the group began or earlier: never over a vertex not
  // yet read.
  std::size_t out = 0;
  std::size_t group = 0;
  while (group + 1 < count) {
    const ZcGePoint3d first = points[group];
    double sx = first.x, sy = first.y, sz = first.z;
    std::size_t next = group + 1;
    for (; next < count; ++next) {
      const ZcGePoint3d& p = points[next];
      const double dx = p.x - first.x, dy = p.y - first.y, dz = p.z - first.z;
      if (!(dx * dx + dy * dy + dz * dz < limit)) break;
      sx += p.x;
      sy += p.y;
      sz += p.z;
    }
    const double members = static_cast<double>(next - group);
    points[out++] = ZcGePoint3d(sx / members, sy / members, sz / members);
    group = next;
  }
  points[out++] = last;
  return out;
}

void optimizeVertexList(std::vector<ZcGePoint3d>& points, double threshold) {
  std::size_t count = straightenVertices(points.data(), points.size(), threshold);
  if (count > 1) count = mergeVertexClusters(points.data(), count, threshold);
  points.resize(count);
}

}  // namespace veltrace
