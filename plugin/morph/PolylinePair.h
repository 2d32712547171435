#pragma once
// The two lightweight polylines a morphing command goes between, read once: both vertex
// tables (world points and bulges) and the first polyline's closed flag. Reading opens each
// polyline for read and closes it again before anything new is made.
#include <optional>
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

struct VertexTable {
  std::vector<ZcGePoint3d> points;  // world coordinates
  std::vector<double> bulges;
};

struct PolylinePair {
  VertexTable first;
  VertexTable second;  // as many vertices as the first
  bool firstClosed = false;
};

// Both tables, or nullopt when the pair cannot be used: silently when one cannot be opened
// (a null id included); with "\nPolyline unexpected error." when one is not a lightweight
// polyline; with "\nThe number of vertices of two polylines is different and cannot be
// interpolated." when their vertex counts differ.
std::optional<PolylinePair> readPolylinePair(ZcDbObjectId first, ZcDbObjectId second);

}  // namespace veltrace
