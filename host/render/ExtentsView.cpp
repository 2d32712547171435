// A plan view around the extents the database works out (updateExt).
#include "render/ExtentsView.h"

#include <algorithm>
#include <cmath>

#include "zcad/db/ZcDbDatabase.h"

namespace vtcad::render {

editor::ViewTransform extentsView(ZcDbDatabase* db, editor::ScreenSize screen, double margin) {
  const editor::ViewTransform current = editor::ViewTransform::of(db, screen);
  if (!db || db->updateExt() != Zcad::eOk) return current;
  const ZcGePoint3d low = db->extmin();
  const ZcGePoint3d high = db->extmax();
  if (!(low.x <= high.x && low.y <= high.y) || !std::isfinite(high.x - low.x) ||
      !std::isfinite(high.y - low.y)) {
    return current;
  }
  const double aspect = static_cast<double>(current.screen().width) / current.screen().height;
  double height = std::max(high.y - low.y, (high.x - low.x) / aspect);
  height *= 1.0 + 2.0 * margin;
  if (!(height > 0.0)) height = current.height();
  return editor::ViewTransform(ZcGePoint2d(0.5 * (low.x + high.x), 0.5 * (low.y + high.y)), height,
                               current.screen());
}

}  // namespace vtcad::render
