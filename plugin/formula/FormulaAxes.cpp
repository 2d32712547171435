#include "formula/FormulaAxes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "frame/EntityPlacement.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbText.h"

namespace veltrace {

namespace {

constexpr double kNoExtent = 0.0001;
// Ticks an axis may have before its step grows tenfold: a curve thousands of units long on one
// axis and a fraction of a unit on the other would otherwise ask for millions of texts.
constexpr double kMaxTicksPerAxis = 10000.0;

// Number of decimal digits of the integer part of `value` (0 when that is 0).
int integerDigits(double value) {
  double whole = std::trunc(std::fabs(value));
  int digits = 0;
  while (whole >= 1.0) {
    whole = std::trunc(whole / 10.0);
    ++digits;
  }
  return digits;
}

struct AxisExtents {
  double lx, ly, nx, ny;
};

AxisExtents axisExtents(const ZcGePoint3d& o, const ZcDbExtents& e) {
  AxisExtents a{e.maxPoint().x - o.x, e.maxPoint().y - o.y, o.x - e.minPoint().x, o.y - e.minPoint().y};
  if (a.lx <= kNoExtent) a.lx = std::fabs(a.nx) / 10.0;
  if (a.ly <= kNoExtent) a.ly = std::fabs(a.ny) / 10.0;
  if (a.nx <= kNoExtent) a.nx = 0.0;
  if (a.ny <= kNoExtent) a.ny = 0.0;
  return a;
}

ZcDbText* tickText(ZcDbDatabase* db, const ZcGePoint3d& at, long value, double height,
                   ZcDb::TextHorzMode horizontal, ZcDb::TextVertMode vertical) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%ld", value);
  auto* label = new ZcDbText(at, text, db->textstyle(), height);
  label->setDatabaseDefaults(db);
  label->setHorizontalMode(horizontal);
  label->setVerticalMode(vertical);
  label->setAlignmentPoint(at);
  return label;
}

}  // namespace

double formulaAxesStep(const ZcGePoint3d& origin, const ZcDbExtents& extents) {
  const AxisExtents a = axisExtents(origin, extents);
  const int dx = integerDigits(std::max(a.lx, a.nx) / 10.0);
  const int dy = integerDigits(std::max(a.ly, a.ny) / 10.0);
  const double base = std::pow(10.0, std::min(dx, dy));
  const double stepX = std::trunc(a.lx / base) >= 1.0 ? base : 1.0;
  const double stepY = std::trunc(a.ly / base) >= 1.0 ? base : 1.0;
  double step = std::min(stepX, stepY);
  const double longest = std::max({a.lx + a.nx, a.ly + a.ny});
  while (longest / step > kMaxTicksPerAxis) step *= 10.0;
  return step;
}

std::optional<ZcDbObjectId> drawFormulaAxes(const ZcGePoint3d& o, const ZcDbExtents& extents) {
  ZcDbDatabase* db = zcdbHostApplicationServices()->workingDatabase();
  if (!db || extents.isEmpty()) return std::nullopt;
  const AxisExtents a = axisExtents(o, extents);
  const double s = formulaAxesStep(o, extents);
  const double xEnd = std::trunc(a.lx) / s + 1.0;  // in steps, not rounded
  const double yEnd = std::trunc(a.ly) / s + 1.0;
  const long label = static_cast<long>(std::trunc(s));

  std::vector<ZcDbEntity*> parts;
  parts.push_back(new ZcDbLine(ZcGePoint3d(o.x - a.nx, o.y, o.z), ZcGePoint3d(o.x + xEnd * s, o.y, o.z)));
  parts.push_back(new ZcDbLine(ZcGePoint3d(o.x, o.y - a.ny, o.z), ZcGePoint3d(o.x, o.y + yEnd * s, o.z)));
  for (long k = static_cast<long>(std::trunc(std::trunc(-a.nx) / s)); static_cast<double>(k) < xEnd; ++k) {
    const double x = o.x + static_cast<double>(k) * s;
    parts.push_back(new ZcDbLine(ZcGePoint3d(x, o.y + s / 10.0, o.z), ZcGePoint3d(x, o.y, o.z)));
    parts.push_back(
        tickText(db, ZcGePoint3d(x, o.y - 0.1 * s, o.z), k * label, 0.2 * s, ZcDb::kTextMid, ZcDb::kTextTop));
  }
  for (long k = static_cast<long>(std::trunc(std::trunc(-a.ny) / s)); static_cast<double>(k) < yEnd; ++k) {
    if (k == 0) continue;  // the X axis's own tick names the origin
    const double y = o.y + static_cast<double>(k) * s;
    parts.push_back(new ZcDbLine(ZcGePoint3d(o.x + s / 10.0, y, o.z), ZcGePoint3d(o.x, y, o.z)));
    parts.push_back(tickText(db, ZcGePoint3d(o.x - 0.1 * s, y, o.z), k * label, 0.2 * s, ZcDb::kTextRight,
                             ZcDb::kTextVertMid));
  }

  // The parts go straight into the block (based at the origin, inserted at the origin, so they
  // stay where they are drawn); nothing passes through the current space.
  NewBlock block = newAnonymousBlock(db);
  if (!block.record) {
    for (ZcDbEntity* part : parts) delete part;
    return std::nullopt;
  }
  block.record->setOrigin(o);
  for (ZcDbEntity* part : parts) {
    part->setDatabaseDefaults(db);
    if (block.record->appendZcDbEntity(part) == Zcad::eOk) {
      part->close();
    } else {
      delete part;
    }
  }
  block.record->close();
  auto* reference = new ZcDbBlockReference(o, block.id);
  reference->setDatabaseDefaults(db);
  const Placement placed = appendToCurrentSpace(reference);
  if (!placed.placed()) {
    delete reference;
    // The block would be left without a reference: take it out again.
    ZcDbObject* record = nullptr;
    if (zcdbOpenObject(record, block.id, ZcDb::kForWrite) == Zcad::eOk) {
      record->erase();
      record->close();
    }
    return std::nullopt;
  }
  return placed.id;
}

}  // namespace veltrace
