#pragma once
// The vertex optimiser on a polyline of the drawing: the polyline is replaced by a new one
// through its optimised vertex list (VertexListPasses.h). PLYH, the outline commands and the
// image vectorizer use it; it counts the vertices it read and wrote for PLYH's summary.
#include "zcad/db/ZcDbObjectId.h"

class ZcDbBlockTableRecord;
class ZcDbEntity;

namespace veltrace {

// Vertices read and written by optimizePolyline since PLYH last reset them (for the whole
// process: the commands that optimise on PLYH's behalf add to the same counts).
struct VertexStatistics {
  int before = 0;
  int after = 0;
};
VertexStatistics& vertexStatistics();

// A 3-D result skips a point closer than this to the vertex before it.
inline constexpr double kCoincidentVertexDistance = 1e-6;

// Replaces `source` (open for read or write; a lightweight, 2-D or 3-D polyline) by an
// optimised copy. The thresholds are 0.001 * extentsDiagonal * toleranceFactor. The copy is a
// lightweight polyline through (x, y) of the points at elevation 0 with straight segments, the
// source's width as constant width, its closed flag, colour index and layer; a 3-D source gives
// a 3-D polyline (closed when the source is), without points closer than
// kCoincidentVertexDistance to the one before. The copy goes into `block` (open for write)
// when given, else into the block of the source (appendBesideSource; for a source open for
// write, which cannot be opened again, its owner directly); then the source is erased (it is
// upgraded to write when open for read) and the copy's id is answered.
//
// The null id, and the source unchanged, for anything else: not a polyline, fewer than 2
// vertices, a threshold that is not a finite number at least 0, a copy that could not be
// placed or a source that could not be erased (the copy is taken back). A polyline shorter
// than kShortestPolyline, or whose length cannot be measured, is erased and the null id
// answered.
ZcDbObjectId optimizePolyline(ZcDbEntity* source, ZcDbBlockTableRecord* block, double extentsDiagonal,
                              double toleranceFactor);

}  // namespace veltrace
