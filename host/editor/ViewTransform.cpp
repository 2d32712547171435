// The current view read from the "*Active" viewport record, and pixels <-> world. One
// viewport only: the window numbers of the pixel calls are ignored.
#include "editor/ViewTransform.h"

#include <cmath>

#include "editor/SystemVariables.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbViewportTable.h"
#include "zcad/zced.h"

namespace vtcad::editor {
namespace {

// What the view takes from a viewport record.
struct RecordView {
  ZcGePoint2d center;
  double height;
  ZcGeMatrix3d displayToWorld;
};

// Display coordinates have their origin at the target and z toward the viewer; x follows the
// arbitrary-axis rule for the view direction, turned clockwise by the twist (a view twisted
// counter-clockwise shows the drawing turned counter-clockwise).
RecordView viewOf(const ZcDbViewportTableRecord& record) {
  ZcGeMatrix3d toWorld = ZcGeMatrix3d::translation(record.target().asVector()) *
                         ZcGeMatrix3d::planeToWorld(record.viewDirection()) *
                         ZcGeMatrix3d::rotation(-record.viewTwist(), ZcGeVector3d::kZAxis);
  return {record.centerPoint(), record.height(), toWorld};
}

// What a new drawing's "*Active" record holds, taken from a record that is in no drawing so
// that the two never disagree.
RecordView newDrawingView() {
  static const RecordView view = viewOf(ZcDbViewportTableRecord());
  return view;
}

RecordView activeView(const ZcDbDatabase* db) {
  if (!db) return newDrawingView();
  ZcDbViewportTable* table = nullptr;
  // Opening is not const in the database's interface; reading changes nothing.
  auto* drawing = const_cast<ZcDbDatabase*>(db);
  if (drawing->getViewportTable(table, ZcDb::kForRead) != Zcad::eOk) return newDrawingView();
  ZcDbViewportTableRecord* record = nullptr;
  Zcad::ErrorStatus es = table->getAt(L"*Active", record, ZcDb::kForRead);
  table->close();
  if (es != Zcad::eOk) return newDrawingView();
  RecordView view = viewOf(*record);
  record->close();
  return view;
}

}  // namespace

ViewTransform ViewTransform::current() { return of(zcdbCurDwg(), screenSize()); }

ViewTransform ViewTransform::of(const ZcDbDatabase* db, ScreenSize screen) {
  RecordView view = activeView(db);
  return ViewTransform(view.center, view.height, screen, view.displayToWorld);
}

ViewTransform::ViewTransform(const ZcGePoint2d& center, double height, ScreenSize screen,
                             const ZcGeMatrix3d& displayToWorld)
    : center_(center), height_(height), screen_(screen), displayToWorld_(displayToWorld) {
  // Degenerate views would divide by zero: they show what a new drawing shows.
  if (!std::isfinite(height_) || height_ <= 0.0) height_ = newDrawingView().height;
  if (!std::isfinite(center_.x) || !std::isfinite(center_.y)) center_ = newDrawingView().center;
  if (screen_.width < 1) screen_.width = 1;
  if (screen_.height < 1) screen_.height = 1;
}

ZcGePoint3d ViewTransform::center() const { return displayToWorld_ * ZcGePoint3d(center_.x, center_.y, 0.0); }

ZcGeMatrix3d ViewTransform::worldToDisplay() const { return displayToWorld_.inverse(); }

ZcGePoint3d ViewTransform::worldAt(double px, double py) const {
  double s = unitsPerPixel();
  ZcGePoint3d display(center_.x + (px - screen_.width / 2.0) * s, center_.y - (py - screen_.height / 2.0) * s,
                      0.0);
  return displayToWorld_ * display;
}

ZcGePoint2d ViewTransform::pixelOf(const ZcGePoint3d& world) const {
  ZcGePoint3d display = worldToDisplay() * world;
  double s = unitsPerPixel();
  return {screen_.width / 2.0 + (display.x - center_.x) / s,
          screen_.height / 2.0 - (display.y - center_.y) / s};
}

}  // namespace vtcad::editor

// Window numbers name viewports of a host with several; vtcad shows one, so every number
// means it.
bool zcedCoordFromWorldToPixel(int /*windnum*/, const ZcGePoint3d& in, CPoint& out) {
  ZcGePoint2d pixel = vtcad::editor::ViewTransform::current().pixelOf(in);
  // Beyond this a pixel number means nothing (and would not fit a long on every platform).
  constexpr double kFarthest = 1e9;
  if (!std::isfinite(pixel.x) || !std::isfinite(pixel.y) || std::fabs(pixel.x) > kFarthest ||
      std::fabs(pixel.y) > kFarthest) {
    return false;
  }
  out.x = std::lround(pixel.x);
  out.y = std::lround(pixel.y);
  return true;
}

bool zcedCoordFromPixelToWorld(const CPoint& in, ZcGePoint3d& out) {
  out = vtcad::editor::ViewTransform::current().worldAt(static_cast<double>(in.x), static_cast<double>(in.y));
  return true;
}

bool zcedCoordFromPixelToWorld(int /*windnum*/, CPoint in, ZcGePoint3d& out) {
  return zcedCoordFromPixelToWorld(in, out);
}

// Headless: nothing is drawn, so redrawing the whole view or one entity (any mode: show, hide,
// highlight, unhighlight) succeeds without effect.
int zcedRedraw(const zds_name /*ent*/, int /*mode*/) { return RTNORM; }
