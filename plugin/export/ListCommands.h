#pragma once
// The coordinate list commands: each writes the geometry of the selected entities into a list
// file (ListDocument.h) and opens it, and can mark and number the listed points. The frame runs
// each command's prologue before its body.
#include <span>
#include <vector>

#include "export/ListCommand.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

// PLLIST: the vertices of lines, arcs, polylines, splines and elliptical arcs, with each
// curve's length and area.
void pllistCommand();
// CLIST: centres, radii, perimeters and areas of circles.
void clistCommand();
// ELLLIST: centres, axes, perimeters and areas of ellipses.
void elllistCommand();
// ARCLIST: centres, radii, start and end angles and lengths of arcs.
void arclistCommand();

// PLLIST's columns, and the rows it writes for one entity (a curve's points and its summary
// row); the benchmark times these.
std::span<const ListColumn> curveListColumns();
bool writeCurveRows(ZcDbObjectId id, int index, const ListRun& run);

// The lower-left rule of PLLIST: the points run backwards when the first lies right of the
// last or, the two x within 0.0001 of each other, above it. Nothing changes for no points or one.
void startAtLowerLeft(std::vector<ZcGePoint3d>& points);

}  // namespace veltrace
