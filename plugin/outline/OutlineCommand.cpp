// makeOutline: the outer outline of a group of entities, as the host's boundary search finds it
// inside a frame around the view, with the group's outlines as the frame's islands. Groups of
// more than a thousand entities first get a rough outline traced from a picture of the view.
#include <algorithm>
#include <optional>

#include "frame/CoordinateConversion.h"
#include "frame/EntityPlacement.h"
#include "frame/Messages.h"
#include "frame/ReadOpen.h"
#include "frame/Selection.h"
#include "frame/SystemVariables.h"
#include "outline/BoundaryCalls.h"
#include "outline/EntityVisibility.h"
#include "outline/OutlineCommands.h"
#include "outline/ViewPicture.h"
#include "polyline/EntityErasure.h"
#include "polyline/OptimizePolyline.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/platform/zcfile.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

constexpr MessagePair kSelectPrompt{L"\n请选择需要产生外轮廓的所有物体：",
                                    L"\nPleas Select all entities for outline:"};
constexpr MessagePair kRoughQuestion{
    L"\n图形太复杂，为此我们先为您创建了粗略外轮廓，如果满意，回答 Y 直接结束，N 将继续努力创建精确轮廓？ ",
    L"\nThe figure is too complex, so we first created a rough outline for you. If you are satisfied, answer "
    L"y "
    L"and finish directly. Will n continue to work hard to create a precise outline? "};
constexpr MessagePair kInnerHidden{L"\n临时关闭内部物体<%d>个.",
                                   L"\nTemporary closure of internal objects <%d>."};

// Above this many entities the rough outline is tried first.
constexpr std::size_t kRoughOutlineEntities = 1000;
// A traced contour of fewer pixels is no outline worth showing.
constexpr std::size_t kShortestContour = 100;
constexpr Zdesk::UInt16 kRed = 1;

struct Rect {
  ZcGePoint3d min;
  ZcGePoint3d max;
};

// The current view's corners in world coordinates.
Rect viewRect() {
  double cx = 0.0, cy = 0.0, size = 0.0, sw = 9.0, sh = 16.0;
  getSysVarPoint2d(L"VIEWCTR", cx, cy);
  getSysVarReal(L"VIEWSIZE", size);
  if (getSysVarPoint2d(L"SCREENSIZE", sw, sh) != kSysVarOk) {
    sw = 9.0;
    sh = 16.0;
  }
  const double width = size * sw / std::max(sh, 1.0);
  Rect r{ZcGePoint3d(cx - width / 2, cy - size / 2, 0.0), ZcGePoint3d(cx + width / 2, cy + size / 2, 0.0)};
  ucsToWcs(r.min);
  ucsToWcs(r.max);
  return r;
}

double viewSize() {
  double size = 0.0;
  getSysVarReal(L"VIEWSIZE", size);
  return size;
}

ZcDbExtents extentsOf(const ObjectIdList& ids) {
  ZcDbExtents box;
  for (ZcDbObjectId id : ids) {
    ReadOpen<ZcDbEntity> entity(id);
    ZcDbExtents e;
    if (entity.get() && entity.get()->getGeomExtents(e) == Zcad::eOk) box.addExt(e);
  }
  return box;
}

// Zooms to the selection with 2 % to spare when the view leaves it less than 1 % on a side.
void zoomToFit(const ZcDbExtents& box) {
  const double w = box.maxPoint().x - box.minPoint().x;
  const double h = box.maxPoint().y - box.minPoint().y;
  const Rect view = viewRect();
  const bool tight = view.min.x + 0.01 * w > box.minPoint().x || view.min.y + 0.01 * h > box.minPoint().y ||
                     box.maxPoint().x > view.max.x - 0.01 * w || box.maxPoint().y > view.max.y - 0.01 * h;
  if (!tight) return;
  ZcGePoint3d low(box.minPoint().x - 0.02 * w, box.minPoint().y - 0.02 * h, 0.0);
  ZcGePoint3d high(box.maxPoint().x + 0.02 * w, box.maxPoint().y + 0.02 * h, 0.0);
  wcsToUcs(low);
  wcsToUcs(high);
  const zds_point a = {low.x, low.y, low.z};
  const zds_point b = {high.x, high.y, high.z};
  QuietHostCommands quiet;
  zcedCommand(RTSTR, L"_ZOOM", RTSTR, L"W", RT3DPOINT, a, RT3DPOINT, b, RTNONE);
}

// The rough outline from a picture of the view, optimised; null when the picture gave none.
ZcDbObjectId roughOutline() {
  const Rgb background = modelBackground();
  const std::wstring path = exportViewPng();
  if (path.empty()) return ZcDbObjectId();
  const ContourSearch search = traceDrawingContour(background, path);
  DeleteFileW(path.c_str());
  if (search.contour.size() <= kShortestContour) return ZcDbObjectId();
  auto* outline = new ZcDbPolyline();
  unsigned int index = 0;
  for (const PixelPoint& p : search.contour) {
    ZcGePoint3d world;
    if (!zcedCoordFromPixelToWorld(CPoint{p.x, p.y}, world)) continue;
    outline->addVertexAt(index++, ZcGePoint2d(world.x, world.y), /*bulge=*/0.0, /*startWidth=*/-1.0,
                         /*endWidth=*/-1.0);
  }
  const double size = viewSize();
  outline->setElevation(0.0);
  outline->setConstantWidth(size / 100.0);
  outline->setColorIndex(kRed);
  outline->setClosed(true);
  const Placement placed = appendToCurrentSpace(outline);
  if (!placed.placed()) {
    delete outline;
    return ZcDbObjectId();
  }
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, placed.id, ZcDb::kForWrite) != Zcad::eOk) return placed.id;
  const ZcDbObjectId optimised = optimizePolyline(entity, /*block=*/nullptr, /*extentsDiagonal=*/size,
                                                  /*toleranceFactor=*/5.0);
  entity->close();
  return optimised;
}

// Replaces the rough outline by its offsets a little outside (temporary curves) and hides the
// curves inside the first of them, so the boundary search has fewer islands to look at.
void hideInsideRough(ZcDbObjectId rough, ObjectIdList& temporary, ObjectIdList& hidden) {
  ZcDbCurve* curve = nullptr;
  if (zcdbOpenObject(curve, rough, ZcDb::kForWrite) != Zcad::eOk) return;
  ZcDbVoidPtrArray offsets;
  curve->getOffsetCurves(viewSize() / 50.0, offsets);
  for (int i = 0; i < offsets.length(); ++i) {
    auto* piece = static_cast<ZcDbEntity*>(offsets[i]);
    const Placement placed = appendToCurrentSpace(piece);
    if (placed.placed()) {
      temporary.push_back(placed.id);
    } else {
      delete piece;
    }
  }
  curve->erase();
  curve->close();
  if (temporary.empty()) return;
  ObjectIdList inside;
  {
    ReadOpen<ZcDbCurve> first(temporary.front());
    if (first.get()) inside = collectInsideCurves(*first.get());
  }
  const ObjectIdList newlyHidden = hideEntities(inside);
  hidden.insert(hidden.end(), newlyHidden.begin(), newlyHidden.end());
  printfBilingual(kInnerHidden, static_cast<int>(hidden.size()));
}

ZcDbObjectId appendFrame(const Rect& view) {
  auto* frame = new ZcDbPolyline();
  const ZcGePoint2d corners[4] = {
      {view.max.x, view.min.y}, {view.max.x, view.max.y}, {view.min.x, view.max.y}, {view.min.x, view.min.y}};
  for (unsigned int i = 0; i < 4; ++i) frame->addVertexAt(i, corners[i], /*bulge=*/0.0, -1.0, -1.0);
  frame->setElevation(0.0);
  frame->setClosed(true);
  const Placement placed = appendToCurrentSpace(frame);
  if (!placed.placed()) {
    delete frame;
    return ZcDbObjectId();
  }
  return placed.id;
}

// The boundaries made inside a frame around the view: the frame's own, then the islands.
ObjectIdList boundariesInFrame(const ZcDbExtents& box, ZcDbExtents& frameBox) {
  const Rect view = viewRect();
  const ZcDbObjectId frame = appendFrame(view);
  if (frame.isNull()) return {};
  zcedUpdateDisplay();
  const int islands = getSysVarIntOr(L"HPISLANDDETECTION");
  const int islandMode = getSysVarIntOr(L"HPISLANDDETECTIONMODE");
  setSysVarQuiet(L"HPISLANDDETECTION", 1);
  setSysVarQuiet(L"HPISLANDDETECTIONMODE", 1);
  // Just inside the frame's lower-left corner; both offsets from the selection's width.
  const double w = box.maxPoint().x - box.minPoint().x;
  const ObjectIdList made = boundariesAt(ZcGePoint3d(view.min.x + 0.01 * w, view.min.y + 0.01 * w, 0.0));
  if (islands != kSysVarUnreadable) setSysVarQuiet(L"HPISLANDDETECTION", static_cast<short>(islands));
  if (islandMode != kSysVarUnreadable)
    setSysVarQuiet(L"HPISLANDDETECTIONMODE", static_cast<short>(islandMode));
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, frame, ZcDb::kForWrite) == Zcad::eOk) {
    entity->getGeomExtents(frameBox);
    entity->erase();
    entity->close();
  }
  return made;
}

// Keeps the largest of the islands, red and as wide as a hundredth of the selection's height;
// erases the frame's boundary and the smaller islands.
void keepLargest(const ObjectIdList& made, const ZcDbExtents& frameBox, double height) {
  std::vector<std::pair<ZcDbObjectId, double>> islands;
  for (ZcDbObjectId id : made) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) continue;
    ZcDbExtents e;
    const bool isFrame = entity->getGeomExtents(e) == Zcad::eOk &&
                         std::abs(e.minPoint().x - frameBox.minPoint().x) <= 0.001 &&
                         std::abs(e.minPoint().y - frameBox.minPoint().y) <= 0.001;
    if (isFrame) {
      entity->erase();
      entity->close();
      continue;
    }
    entity->setColorIndex(kRed);
    double area = 0.0;
    if (auto* polyline = ZcDbPolyline::cast(entity)) {
      polyline->setConstantWidth(height / 100.0);
      polyline->getArea(area);
    }
    entity->close();
    islands.emplace_back(id, std::abs(area));
  }
  double largest = 0.0;
  for (const auto& island : islands) largest = std::max(largest, island.second);
  for (const auto& [id, area] : islands) {
    if (area <= largest - 0.001) eraseById(id);
  }
}

}  // namespace

void makeOutlineCommand() {
  QuietHostCommands quiet;
  const ObjectIdList selected = selectEntities(kSelectPrompt.chinese, kSelectPrompt.english);
  if (selected.empty()) return;
  HiddenWhileWorking hidden;
  hidden.ids = hideOtherEntities(selected);
  ObjectIdList temporary;

  const ZcDbExtents box = extentsOf(selected);
  zoomToFit(box);
  bool done = false;
  if (selected.size() > kRoughOutlineEntities) {
    const ZcDbObjectId rough = roughOutline();
    if (!rough.isNull()) {
      done = getYesNoBilingual(kRoughQuestion.chinese, kRoughQuestion.english, /*defaultAnswer=*/true);
      if (!done) hideInsideRough(rough, temporary, hidden.ids);
    }
  }
  if (!done) {
    ZcDbExtents frameBox;
    const ObjectIdList made = boundariesInFrame(box, frameBox);
    keepLargest(made, frameBox, box.maxPoint().y - box.minPoint().y);
  }
  for (ZcDbObjectId id : temporary) eraseById(id);
}

}  // namespace veltrace
