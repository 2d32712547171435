#pragma once
// What the vertex tools read from a polyline of any of the three kinds: its kind, whether it
// has a length worth keeping, and its vertices as world points with the closed flag and the
// width. Bulges are not read: an arc segment counts as its chord.
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"

class ZcDbCurve;
class ZcDbObject;

namespace veltrace {

enum class PolylineKind { kNone, kLightweight, kOldStyle2d, kOldStyle3d };

PolylineKind polylineKindOf(const ZcDbObject* object);

// Curves shorter than this are erased by the vertex tools, as is a curve whose length cannot
// be measured (its end parameter, then the distance there).
inline constexpr double kShortestPolyline = 1e-5;
bool hasKeepableLength(const ZcDbCurve& curve);

// Which vertices of an old-style polyline are read. A fitted polyline shows generated vertices
// (the fit of a spline or the junctions of a curve fit) and keeps its frame (control vertices,
// or the vertices a user made) among them; a lightweight polyline has only its vertices.
enum class VertexSet {
  kShown,  // what the polyline displays: every vertex but the control frame of a spline fit
  kFrame,  // what the user made: every vertex the fitting did not generate
};

struct PolylineVertices {
  PolylineKind kind = PolylineKind::kNone;
  bool closed = false;
  // Lightweight: the constant width, 0 without one; 2-D: the default start width; 3-D: 0.
  double width = 0.0;
  std::vector<ZcGePoint3d> points;
  // Old-style polylines: the vertex object of each point, in the same order.
  std::vector<ZcDbObjectId> vertexIds;
};

// Reads `curve` (open for read or write). False for a curve of another kind, and for an
// old-style polyline a vertex of which cannot be opened (the list would have a hole).
bool readPolylineVertices(const ZcDbCurve& curve, VertexSet set, PolylineVertices& vertices);

}  // namespace veltrace
