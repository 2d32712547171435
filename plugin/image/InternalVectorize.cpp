#include "image/InternalVectorize.h"

#include <cmath>
#include <cwchar>

#include "frame/EntityPlacement.h"
#include "frame/LightweightPolyline.h"
#include "image/ColorRegions.h"
#include "polyline/OptimizePolyline.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ge/ZcGeScale3d.h"
#include "zcad/zcut.h"

namespace veltrace {

namespace {

void say(const VectorizeObserver& observer, const std::wstring& text) {
  if (observer.status) observer.status(text);
}

// Puts one closed polyline through the outline into the block, optimised when asked. True when
// a polyline stayed in the block.
bool addOutline(ZcDbBlockTableRecord* block, const std::vector<PixelPoint>& outline, int optimisation) {
  std::vector<ZcGePoint3d> points;
  points.reserve(outline.size());
  for (const PixelPoint& p : outline) points.emplace_back(p.x, p.y, 0.0);
  ZcDbPolyline* polyline = newLightweightPolyline(points, /*bulges=*/{}, /*elevation=*/0.0, /*closed=*/true);
  if (!polyline) return false;
  ZcDbObjectId id;
  if (block->appendZcDbEntity(id, polyline) != Zcad::eOk) {
    delete polyline;
    return false;
  }
  if (optimisation <= 0) {
    polyline->close();
    return true;
  }
  ZcDbExtents extents;
  double diagonal = 0.0;
  if (polyline->getGeomExtents(extents) == Zcad::eOk) {
    diagonal = std::abs(extents.maxPoint().x - extents.minPoint().x) +
               std::abs(extents.maxPoint().y - extents.minPoint().y);
  }
  // The traced polyline is erased by the optimiser once its copy is in the block; when the
  // optimiser declines (a degenerate outline), the traced one stays as it is.
  const ZcDbObjectId optimised = optimizePolyline(polyline, block, diagonal, optimisation);
  const bool erased = polyline->isErased();
  polyline->close();
  return !optimised.isNull() || !erased;
}

}  // namespace

TracedBlock traceColourRegionsIntoBlock(const CImage& picture, int clutter, int optimisation,
                                        const VectorizeObserver& observer) {
  TracedBlock result;
  say(observer, L"Begin makeColorRegion....");
  LabelGrid grid;
  const int labels = makeColorRegion(picture, grid);
  NewBlock block = newAnonymousBlock(zcdbHostApplicationServices()->workingDatabase());
  if (!block.record) return result;
  block.record->setOrigin(ZcGePoint3d(0, 0, 0));
  // One pass finds where every region starts; a scan of the grid per region would cost the
  // picture's size times the number of regions.
  const std::vector<GridPoint> firstCells = firstCellsOfLabels(grid, labels);
  for (int label = 0; label < labels; ++label) {
    wchar_t text[64];
    std::swprintf(text, sizeof text / sizeof text[0], L"Begin findRegionOutline...%d", label);
    say(observer, text);
    const std::vector<PixelPoint> outline =
        findRegionOutline(label, grid, firstCells[static_cast<std::size_t>(label)]);
    if (outline.size() < static_cast<std::size_t>(std::max(clutter, 0)) || outline.empty()) continue;
    if (observer.outline) observer.outline(outline);
    // Degenerate case: a single point makes no polyline.
    if (outline.size() < 2) continue;
    if (addOutline(block.record, outline, optimisation)) ++result.polylines;
  }
  block.record->close();
  result.block = block.id;
  return result;
}

ZcDbObjectId insertTracedBlock(ZcDbObjectId block, const PicturePlacement& placement, int pictureHeight) {
  if (block.isNull() || pictureHeight <= 0) return ZcDbObjectId();
  const double scale = placement.height / pictureHeight;
  const ZcGePoint3d corner(placement.origin.x, placement.origin.y + placement.height, placement.origin.z);
  auto* reference = new ZcDbBlockReference(corner, block);
  reference->setScaleFactors(ZcGeScale3d(scale, -scale, scale));
  const Placement placed = appendToCurrentSpace(reference);
  if (!placed.placed()) {
    delete reference;
    return ZcDbObjectId();
  }
  return placed.id;
}

}  // namespace veltrace
