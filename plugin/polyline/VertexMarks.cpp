#include "polyline/VertexMarks.h"

#include <cmath>
#include <string>

#include "frame/EntityPlacement.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbText.h"

namespace veltrace {

namespace {

bool isFinite(const ZcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// A mark that cannot be placed is not the caller's to clean up: it is dropped here.
void place(ZcDbEntity* entity) {
  if (!appendToCurrentSpace(entity).placed()) delete entity;
}

}  // namespace

void markVertex(const ZcGePoint3d& point, double h, int index) {
  ZcDbDatabase* db = zcdbHostApplicationServices()->workingDatabase();
  // The entities would keep their defaults for values they refuse, which puts a mark at the
  // origin or at the text size of the drawing: no mark is better than a misleading one.
  if (!db || !isFinite(point) || !std::isfinite(h) || h <= 0.0) return;

  auto* dot = new ZcDbPoint(point);
  dot->setDatabaseDefaults(db);
  place(dot);

  const std::wstring number = std::to_wstring(index + 1);
  const double half = h / 2.0;
  auto* label = new ZcDbText(point + ZcGeVector3d(half, half, 0.0), number.c_str(), db->textstyle(),
                             /*height=*/half);
  label->setDatabaseDefaults(db);
  place(label);
}

}  // namespace veltrace
