#include "image/HoleNet.h"

#include <cmath>
#include <memory>

#include "frame/EntityPlacement.h"
#include "frame/LightweightPolyline.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace veltrace {

namespace {

// The sum of red + green + blue over the cell's samples; nullopt-like -1 for a depth without
// a reading.
double cellSum(const CImage& picture, double c, int i, int j) {
  const int bpp = picture.GetBPP();
  double sum = 0.0;
  for (int a = 0; a < c; ++a) {
    const int y = static_cast<int>(i * c + a);
    for (int b = 0; b < c; ++b) {
      const int x = static_cast<int>(j * c + b);
      if (bpp == 8) {
        const COLORREF colour = picture.GetPixel(x, y);
        sum += GetRValue(colour) + GetGValue(colour) + GetBValue(colour);
      } else {
        const auto* p = static_cast<const BYTE*>(picture.GetPixelAddress(x, y));
        if (p) sum += p[0] + p[1] + p[2];
      }
    }
  }
  return sum;
}

ZcDbEntity* squareHole(const ZcGePoint3d& p, double r, double elevation) {
  const ZcGePoint3d corners[] = {
      {p.x + r, p.y - r, 0}, {p.x - r, p.y - r, 0}, {p.x - r, p.y + r, 0}, {p.x + r, p.y + r, 0}};
  return newLightweightPolyline(corners, /*bulges=*/{}, elevation, /*closed=*/true);
}

ZcDbEntity* diamondHole(const ZcGePoint3d& p, double r, double elevation) {
  const ZcGePoint3d corners[] = {{p.x, p.y - r, 0}, {p.x - r, p.y, 0}, {p.x, p.y + r, 0}, {p.x + r, p.y, 0}};
  return newLightweightPolyline(corners, /*bulges=*/{}, elevation, /*closed=*/true);
}

// A copy of the picked entity centred on p and scaled to r; null when it cannot be read or
// copied.
ZcDbEntity* copiedHole(ZcDbObjectId id, const ZcGePoint3d& p, double r) {
  ZcDbEntity* source = nullptr;
  if (zcdbOpenObject(source, id, ZcDb::kForRead) != Zcad::eOk) return nullptr;
  ZcDbExtents extents;
  const bool measured = source->getGeomExtents(extents) == Zcad::eOk;
  std::unique_ptr<ZcRxObject> clone(source->clone());
  source->close();
  ZcDbEntity* copy = ZcDbEntity::cast(clone.get());
  if (!copy || !measured) return nullptr;
  const ZcGePoint3d low = extents.minPoint();
  const ZcGePoint3d high = extents.maxPoint();
  double a = (std::abs(high.x - low.x) + std::abs(high.y - low.y)) / 4;
  if (a < 1e-6) a = 1.0;
  const ZcGePoint3d centre((low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2);
  const double size = r < 1e-5 ? 0.001 : r;
  const ZcGeMatrix3d move = ZcGeMatrix3d::scaling(size / a, p) * ZcGeMatrix3d::translation(p - centre);
  if (copy->transformBy(move) != Zcad::eOk) return nullptr;
  (void)clone.release();
  return copy;
}

}  // namespace

int committedHoleRows(int rows) {
  return rows < kFewestHoleRows || rows > kMostHoleRows ? kDefaultHoleRows : rows;
}

HoleNetCells computeHoleNet(const CImage& picture, int rows, bool invert) {
  HoleNetCells net;
  const int width = picture.GetWidth();
  const int height = picture.GetHeight();
  const int bpp = picture.GetBPP();
  net.pictureHeight = height;
  if (picture.IsNull() || (bpp != 8 && bpp != 24 && bpp != 32) || rows <= 0) return net;
  if (rows > height) rows = height;
  double c = static_cast<double>(height) / rows;
  if (c == 0.0) c = 1.0;
  net.cellSize = c;
  net.rows = static_cast<int>(height / c);
  net.columns = static_cast<int>(width / c);
  net.cells.reserve(static_cast<std::size_t>(net.rows) * static_cast<std::size_t>(net.columns));
  for (int i = 0; i < net.rows; ++i) {
    for (int j = 0; j < net.columns; ++j) {
      const double sum = cellSum(picture, c, i, j);
      double darkness = 1.0 - sum / (c * c * 255 * 3);
      if (invert) darkness = std::abs(darkness - 1.0);
      net.cells.push_back(HoleCell{j * c + c / 2, i * c + c / 2, darkness * c});
    }
  }
  return net;
}

int placeHoleNet(const HoleNetCells& net, const PicturePlacement& placement, const HoleNetStyle& style) {
  if (net.pictureHeight <= 0) return 0;
  const double k = placement.height / net.pictureHeight;
  const ZcGePoint3d& o = placement.origin;
  int placed = 0;
  for (const HoleCell& cell : net.cells) {
    const double r = cell.measure * (style.size + 5) / 100.0 * k;
    if (!(r > 0.0) || !std::isfinite(r)) continue;
    const ZcGePoint3d p(o.x + k * cell.x, o.y + placement.height - k * cell.y, o.z);
    ZcDbEntity* hole = nullptr;
    switch (style.shape) {
      case HoleShape::kSquare:
        hole = squareHole(p, r, o.z);
        break;
      case HoleShape::kDiamond:
        hole = diamondHole(p, r, o.z);
        break;
      case HoleShape::kPickedEntity:
        if (!style.holeEntity.isNull()) {
          // An entity that can no longer be read gives no hole for the cell.
          hole = copiedHole(style.holeEntity, p, r);
          if (!hole) continue;
          break;
        }
        [[fallthrough]];
      case HoleShape::kCircle:
        hole = new ZcDbCircle(p, ZcGeVector3d(0, 0, 1), r);
        break;
    }
    if (!hole) continue;
    if (appendToCurrentSpace(hole).placed()) {
      ++placed;
    } else {
      delete hole;
    }
  }
  return placed;
}

PreviewDot previewDot(const HoleCell& cell, int size, double displayScale) {
  const double q = 1.5 * (size / 100.0) * cell.measure;
  const double x = std::trunc(cell.x);
  const double y = std::trunc(cell.y);
  return PreviewDot{(x - q) * displayScale, (y - q) * displayScale, (x + q) * displayScale,
                    (y + q) * displayScale};
}

}  // namespace veltrace
