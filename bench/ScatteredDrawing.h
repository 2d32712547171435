#pragma once
// The large drawing of the picture and window benchmarks: a quarter each lines, arcs, circles
// and four-segment lightweight polylines, scattered at random (fixed seed, so every run draws
// the same picture) over a square of `side` drawing units.
#include <memory>
#include <random>

#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"

namespace vtcad_bench {

inline std::unique_ptr<ZcDbDatabase> scatteredDrawing(long count, double side = 10000.0) {
  auto db = std::make_unique<ZcDbDatabase>();
  ZcDbBlockTableRecord* space = nullptr;
  if (zcdbOpenObject(space, db->modelSpaceId(), ZcDb::kForWrite) != Zcad::eOk) return db;
  std::mt19937 rng(1208);
  std::uniform_real_distribution<double> at(0.0, side), size(2.0, 40.0), angle(0.0, 6.283);
  for (long i = 0; i < count; ++i) {
    const ZcGePoint3d p(at(rng), at(rng), 0.0);
    ZcDbEntity* entity = nullptr;
    switch (i % 4) {
      case 0:
        entity = new ZcDbLine(p, p + ZcGeVector3d(size(rng), size(rng), 0.0));
        break;
      case 1:
        entity = new ZcDbArc(p, size(rng), angle(rng), angle(rng));
        break;
      case 2:
        entity = new ZcDbCircle(p, ZcGeVector3d::kZAxis, size(rng));
        break;
      default: {
        auto* pline = new ZcDbPolyline;
        for (unsigned k = 0; k < 5; ++k)
          pline->addVertexAt(k, ZcGePoint2d(p.x + 15.0 * k, p.y + (k % 2) * 10.0));
        entity = pline;
      }
    }
    entity->setDatabaseDefaults(db.get());
    space->appendZcDbEntity(entity);
    entity->close();
  }
  space->close();
  return db;
}

}  // namespace vtcad_bench
