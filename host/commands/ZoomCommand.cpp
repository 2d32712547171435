// ZOOM: changes the current view ("*Active" viewport). A picked point starts a window; a
// number is a scale relative to the drawing limits, "nX" (or "nXP", taken the same way: there
// are no paper-space viewports) relative to the current view. Options: All (limits and
// extents), Center (a centre and a height or "nX" magnification), Extents, Previous (the views
// replaced by earlier zooms of this session), Scale, Window, Object (the box of selected
// entities). Enter (real time) needs a display and changes nothing here.
//
// Views keep the aspect ratio of the current view: a box is fitted whole, centred, with room
// to spare along one direction.
#include <algorithm>
#include <cmath>
#include <cwchar>
#include <cwctype>
#include <optional>
#include <string>

#include "commands/CurrentView.h"
#include "commands/EditCommandSupport.h"
#include "commands/EditCommands.h"
#include "editor/SystemVariables.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbObjectReactor.h"
#include "zcad/db/ZcDbViewportTable.h"
#include "zcad/zced.h"

namespace vtcad::commands {
namespace {

// Views replaced by ZOOM, newest last, for Previous. Kept for one drawing at a time (another
// working drawing starts a new list). The list watches the drawing's "*Active" record: when the
// drawing goes away the record says goodbye and the list is dropped, so a new drawing that
// happens to get the same address never sees the old views.
class ViewHistory : public ZcDbObjectReactor {
 public:
  static constexpr std::size_t kViewsKept = 10;

  std::vector<ViewArea>& viewsOf(ZcDbDatabase* db) {
    if (db != db_) {
      stopWatching();
      db_ = db;
      views_.clear();
    }
    return views_;
  }

  // Starts watching the drawing's "*Active" record (once it exists).
  void watch(ZcDbDatabase* db) {
    ZcDbObjectId active;
    ZcDbViewportTable* table = nullptr;
    if (db->getViewportTable(table, ZcDb::kForRead) != Zcad::eOk) return;
    (void)table->getAt(L"*Active", active);
    table->close();
    if (active.isNull() || active == watched_) return;
    stopWatching();
    ZcDbObject* record = nullptr;
    if (zcdbOpenObject(record, active, ZcDb::kForRead) != Zcad::eOk) return;
    record->addReactor(this);
    record->close();
    watched_ = active;
  }

  void goodbye(const ZcDbObject* /*dbObj*/) override {
    db_ = nullptr;
    watched_.setNull();
    views_.clear();
  }

 private:
  void stopWatching() {
    ZcDbObject* record = nullptr;
    if (!watched_.isNull() &&
        zcdbOpenObject(record, watched_, ZcDb::kForRead, /*openErased=*/true) == Zcad::eOk) {
      record->removeReactor(this);
      record->close();
    }
    watched_.setNull();
  }

  ZcDbDatabase* db_ = nullptr;
  ZcDbObjectId watched_;
  std::vector<ViewArea> views_;
};

// Never destroyed: a drawing that outlives the program's statics still says goodbye to it.
ViewHistory& viewHistory() {
  static ViewHistory* history = new ViewHistory;
  return *history;
}

// Makes `view` current, remembering the one it replaces (unless `remember` is false: going
// back to a previous view must not add to the list).
void showView(ZcDbDatabase* db, const ViewArea& view, bool remember = true) {
  ViewArea current;
  if (getCurrentView(db, current) != Zcad::eOk) current = ViewArea{};
  if (setCurrentView(db, view) != Zcad::eOk) {
    print(L"The view cannot be changed to that.\n");
    return;
  }
  if (!remember) return;
  std::vector<ViewArea>& views = viewHistory().viewsOf(db);
  viewHistory().watch(db);
  views.push_back(current);
  if (views.size() > ViewHistory::kViewsKept) views.erase(views.begin());
}

// The view that shows the box whole with the aspect ratio of `current`. Degenerate cases: a
// box with no height and no width (one point) keeps the current height; nullopt for an empty
// box.
std::optional<ViewArea> viewOfBox(const ZcDbExtents& box, const ViewArea& current) {
  if (box.isEmpty()) return std::nullopt;
  const ZcGePoint3d& low = box.minPoint();
  const ZcGePoint3d& high = box.maxPoint();
  ViewArea view;
  view.center.set(0.5 * (low.x + high.x), 0.5 * (low.y + high.y));
  const double aspect = current.aspect();
  view.height = std::max(high.y - low.y, (high.x - low.x) / aspect);
  if (!(view.height > 0.0)) view.height = current.height;
  view.width = view.height * aspect;
  return view;
}

// The current view as the screen shows it: the record's width may be of a screen of another
// shape (a window made narrower), and a box fitted to it would be cut off at the sides.
ViewArea shownView(ZcDbDatabase* db) {
  ViewArea view;
  (void)getCurrentView(db, view);
  const editor::ScreenSize screen = editor::screenSize();
  if (screen.width > 0 && screen.height > 0) view.width = view.height * screen.width / screen.height;
  return view;
}

void showBox(ZcDbDatabase* db, const ZcDbExtents& box) {
  const ViewArea current = shownView(db);
  if (const std::optional<ViewArea> view = viewOfBox(box, current)) showView(db, *view);
}

// The drawing limits (LIMMIN, LIMMAX), those of a new drawing when the drawing has none.
ZcDbExtents drawingLimits(const ZcDbDatabase* db) {
  ZcGePoint3d low(0.0, 0.0, 0.0), high(420.0, 297.0, 0.0);
  const auto readCorner = [db](const ZTCHAR* name, ZcGePoint3d& corner) {
    resbuf* chain = db->getHeaderVar(name);
    for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
      if (rb->restype == 10 && std::isfinite(rb->resval.rpoint[0]) && std::isfinite(rb->resval.rpoint[1])) {
        corner.set(rb->resval.rpoint[0], rb->resval.rpoint[1], 0.0);
        break;
      }
    }
    zcutRelRb(chain);
  };
  readCorner(L"LIMMIN", low);
  readCorner(L"LIMMAX", high);
  ZcDbExtents limits;
  limits.addPoint(low);
  limits.addPoint(high);
  return limits;
}

// Model space's extents, recomputed; empty when nothing visible is drawn.
ZcDbExtents drawingExtents(ZcDbDatabase* db) {
  ZcDbExtents extents;
  (void)db->updateExt();
  const ZcGePoint3d low = db->extmin();
  const ZcGePoint3d high = db->extmax();
  if (low.x <= high.x && low.y <= high.y) {
    extents.addPoint(low);
    extents.addPoint(high);
  }
  return extents;
}

// A scale typed as text: "2" (relative to the limits), "2x" (to the current view), "2xp".
struct ZoomScale {
  double factor = 1.0;
  bool relativeToView = false;
};

std::optional<ZoomScale> parseScale(std::wstring text) {
  std::erase_if(text, [](wchar_t c) { return std::iswspace(c) != 0; });
  ZoomScale scale;
  const auto endsWith = [&text](std::wstring_view suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](wchar_t a, wchar_t b) { return std::towupper(a) == std::towupper(b); });
  };
  if (endsWith(L"xp")) {
    text.resize(text.size() - 2);
    scale.relativeToView = true;
  } else if (endsWith(L"x")) {
    text.resize(text.size() - 1);
    scale.relativeToView = true;
  }
  if (text.empty()) return std::nullopt;
  wchar_t* end = nullptr;
  scale.factor = std::wcstod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(scale.factor) || !(scale.factor > 0.0))
    return std::nullopt;
  return scale;
}

// Scales about the current centre: "nX" divides the current height by n, "n" shows the limits
// n times larger than a zoom to the limits would.
void zoomByScale(ZcDbDatabase* db, const ZoomScale& scale) {
  ViewArea view = shownView(db);
  double height = view.height;
  if (!scale.relativeToView) {
    const std::optional<ViewArea> limitsView = viewOfBox(drawingLimits(db), view);
    height = limitsView ? limitsView->height : view.height;
  }
  const double aspect = view.aspect();
  view.height = height / scale.factor;
  view.width = view.height * aspect;
  showView(db, view);
}

bool zoomWindow(ZcDbDatabase* db, const zds_point firstCorner) {
  zds_point opposite{};
  zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
  if (zcedGetCorner(firstCorner, L"Specify opposite corner: ", opposite) != RTNORM) return false;
  ZcDbExtents box;
  box.addPoint(fromZds(firstCorner));
  box.addPoint(fromZds(opposite));
  // Degenerate case: a window of no width and no height shows nothing.
  if (box.minPoint().x == box.maxPoint().x && box.minPoint().y == box.maxPoint().y) {
    print(L"The window has no size: the view is unchanged.\n");
    return true;
  }
  showBox(db, box);
  return true;
}

void zoomCenter(ZcDbDatabase* db) {
  zds_point center{};
  zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
  if (zcedGetPoint(/*pt=*/nullptr, L"Specify center point: ", center) != RTNORM) return;
  ViewArea view;
  (void)getCurrentView(db, view);
  const std::wstring prompt = L"Enter magnification or height <" + formatReal(view.height) + L">: ";
  double height = view.height;
  for (;;) {
    zcedInitGet(RSG_NOZERO | RSG_NONEG | RSG_OTHER, /*kwl=*/nullptr);
    const int result = zcedGetDist(center, prompt.c_str(), &height);
    if (result == RTNORM || result == RTNONE) break;
    if (result != RTKWORD) return;
    // "2x": a magnification of the current view.
    const std::optional<ZoomScale> scale = parseScale(lastKeyword());
    if (scale && scale->relativeToView) {
      height = view.height / scale->factor;
      break;
    }
    print(L"Requires a height or a magnification (nX).\n");
  }
  const double aspect = view.aspect();
  view.center.set(center[0], center[1]);
  view.height = height;
  view.width = height * aspect;
  showView(db, view);
}

void zoomExtents(ZcDbDatabase* db) {
  const ZcDbExtents extents = drawingExtents(db);
  if (extents.isEmpty()) {
    print(L"The drawing is empty: the view is unchanged.\n");
    return;
  }
  showBox(db, extents);
}

void zoomAll(ZcDbDatabase* db) {
  ZcDbExtents box = drawingLimits(db);
  box.addExt(drawingExtents(db));
  showBox(db, box);
}

void zoomPrevious(ZcDbDatabase* db) {
  std::vector<ViewArea>& views = viewHistory().viewsOf(db);
  if (views.empty()) {
    print(L"No previous view saved.\n");
    return;
  }
  const ViewArea view = views.back();
  views.pop_back();
  showView(db, view, /*remember=*/false);
}

void zoomScale(ZcDbDatabase* db) {
  for (;;) {
    double factor = 1.0;
    zcedInitGet(RSG_NONULL | RSG_NOZERO | RSG_NONEG | RSG_OTHER, /*kwl=*/nullptr);
    const int result = zcedGetReal(L"Enter a scale factor (nX or nXP): ", &factor);
    if (result == RTNORM) {
      zoomByScale(db, ZoomScale{factor, /*relativeToView=*/false});
      return;
    }
    if (result != RTKWORD) return;
    if (const std::optional<ZoomScale> scale = parseScale(lastKeyword())) {
      zoomByScale(db, *scale);
      return;
    }
    print(L"Requires a scale factor (n, nX or nXP).\n");
  }
}

void zoomObject(ZcDbDatabase* db) {
  std::vector<ZcDbObjectId> ids;
  if (!selectEntities(ids, SelectFor::kReading)) return;
  ZcDbExtents box;
  for (ZcDbObjectId id : ids) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
    ZcDbExtents entityBox;
    if (entity->getGeomExtents(entityBox) == Zcad::eOk) box.addExt(entityBox);
    entity->close();
  }
  if (box.isEmpty()) {
    print(L"The selected objects have no extents: the view is unchanged.\n");
    return;
  }
  showBox(db, box);
}

}  // namespace

void zoomCommand() {
  ZcDbDatabase* db = workingDrawing();
  if (!db) return;
  for (;;) {
    zds_point corner{};
    zcedInitGet(RSG_OTHER, L"All Center Extents Previous Scale Window Object");
    const int result = zcedGetPoint(/*pt=*/nullptr,
                                    L"Specify corner of window, enter a scale factor (nX or nXP), or\n"
                                    L"[All/Center/Extents/Previous/Scale/Window/Object] <real time>: ",
                                    corner);
    if (result == RTNORM) {
      zoomWindow(db, corner);
      return;
    }
    if (result == RTNONE) {
      print(L"Real time zoom needs a display: the view is unchanged.\n");
      return;
    }
    if (result != RTKWORD) return;
    const std::wstring typed = lastKeyword();
    if (keywordIs(typed, L"All")) return zoomAll(db);
    if (keywordIs(typed, L"Center")) return zoomCenter(db);
    if (keywordIs(typed, L"Extents")) return zoomExtents(db);
    if (keywordIs(typed, L"Previous")) return zoomPrevious(db);
    if (keywordIs(typed, L"Scale")) return zoomScale(db);
    if (keywordIs(typed, L"Object")) return zoomObject(db);
    if (keywordIs(typed, L"Window")) {
      zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
      if (zcedGetPoint(/*pt=*/nullptr, L"Specify first corner: ", corner) == RTNORM) zoomWindow(db, corner);
      return;
    }
    if (const std::optional<ZoomScale> scale = parseScale(typed)) return zoomByScale(db, *scale);
    print(L"Requires a point, a scale factor (n, nX or nXP) or an option keyword.\n");
  }
}

}  // namespace vtcad::commands
