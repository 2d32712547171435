#pragma once
// s2p and p2s: splines become polylines through the host's own conversion at a user
// precision, and lines, arcs, circles, ellipses, helices and polylines become splines. Each
// source is replaced by its conversion, placed in the source's block; a source whose
// conversion could not be placed stays as it was.
#include "frame/PolylineFromPoints.h"

class ZcDbCurve;

namespace veltrace {

void s2pCommand();
void p2sCommand();

// Appends the vertex positions (world points, in vertex order) of a polyline of any of the
// three kinds; nothing for any other curve.
void polylineVertexPoints(const ZcDbCurve& curve, PointList& points);

// Replaces `curve` (open for read, in a database) by a spline: the curve's own spline form,
// else a cubic through fit points (`count` points at equal steps along the curve when
// `divideEqually`, else the polyline's vertices; the first point repeated at the end of a
// closed curve). True when the spline was placed; the curve is then erased (it was upgraded
// to write for that).
bool curveToSpline(ZcDbCurve* curve, bool divideEqually, int count);

}  // namespace veltrace
