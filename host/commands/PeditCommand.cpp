// PEDIT: edits polylines as a whole. One polyline is picked (a line or an arc picked instead
// can be turned into one), or Multiple selects several and every option then applies to all.
// Options: Close, Open, Width (one constant width for every segment), Fit (a curve through
// the vertices), Spline (a B-spline with the vertices as its frame), Decurve (straight
// segments again), Ltype gen, Reverse; Enter or eXit ends.
//
// Lightweight polylines cannot hold fitted curves: Fit and Spline turn them into old-style
// 2-D polylines of the fit or spline type, keeping their id and handle. 3-D polylines take
// Close, Open, Spline, Decurve and Reverse. Join and the in-command Undo are not offered by
// this host (U after PEDIT takes the whole command back).
#include <cmath>
#include <optional>
#include <string>

#include "commands/EditCommandSupport.h"
#include "commands/EditCommands.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/zced.h"

namespace vtcad::commands {
namespace {

constexpr const ZTCHAR* kOptionKeywords = L"Close Open Join Width Fit Spline Decurve Ltype Reverse Undo eXit";

bool isPolyline(ZcDbObjectId id) {
  const ZcRxClass* cls = id.objectClass();
  return cls && (cls->isDerivedFrom(ZcDbPolyline::desc()) || cls->isDerivedFrom(ZcDb2dPolyline::desc()) ||
                 cls->isDerivedFrom(ZcDb3dPolyline::desc()));
}

bool canBecomePolyline(ZcDbObjectId id) {
  const ZcRxClass* cls = id.objectClass();
  return cls && (cls->isDerivedFrom(ZcDbLine::desc()) || cls->isDerivedFrom(ZcDbArc::desc()));
}

// The lightweight polyline of one line or arc, in the entity's plane, with its properties.
// nullptr for a line that does not lie in a plane parallel to XY (a lightweight polyline
// cannot leave its plane).
ZcDbPolyline* polylineOf(const ZcDbCurve& curve) {
  ZcGeVector3d normal = ZcGeVector3d::kZAxis;
  double thickness = 0.0;
  ZcGePoint3d start, end;
  double bulge = 0.0;
  if (const ZcDbLine* line = ZcDbLine::cast(&curve)) {
    start = line->startPoint();
    end = line->endPoint();
    thickness = line->thickness();
    if (std::abs(start.z - end.z) > 1e-9 * (1.0 + start.distanceTo(end))) return nullptr;
  } else if (const ZcDbArc* arc = ZcDbArc::cast(&curve)) {
    (void)arc->getStartPoint(start);
    (void)arc->getEndPoint(end);
    normal = arc->normal();
    thickness = arc->thickness();
    // The arc runs counter-clockwise about its normal, as a positive bulge does.
    bulge = std::tan(arc->totalAngle() / 4.0);
  } else {
    return nullptr;
  }
  const ZcGeMatrix3d toPlane = ZcGeMatrix3d().setToWorldToPlane(normal);
  const ZcGePoint3d first = toPlane * start;
  const ZcGePoint3d last = toPlane * end;
  auto* polyline = new ZcDbPolyline(/*numVerts=*/2);
  (void)polyline->setPropertiesFrom(&curve);
  (void)polyline->setNormal(normal);
  (void)polyline->setElevation(first.z);
  (void)polyline->setThickness(thickness);
  (void)polyline->addVertexAt(/*index=*/0, ZcGePoint2d(first.x, first.y), bulge);
  (void)polyline->addVertexAt(/*index=*/1, ZcGePoint2d(last.x, last.y), /*bulge=*/0.0);
  return polyline;
}

// Replaces a line or an arc by the lightweight polyline of it under the same id and handle.
bool turnIntoPolyline(ZcDbObjectId id) {
  ZcDbCurve* curve = nullptr;
  if (zcdbOpenObject(curve, id, ZcDb::kForWrite) != Zcad::eOk) return false;
  ZcDbPolyline* polyline = polylineOf(*curve);
  if (!polyline) {
    curve->close();
    return false;
  }
  if (curve->handOverTo(polyline) != Zcad::eObjectToBeDeleted) {
    delete polyline;
    curve->close();
    return false;
  }
  delete curve;  // outside the database now: the polyline has its id
  polyline->close();
  return true;
}

// Yes/No with Yes the default; nullopt when cancelled.
std::optional<bool> askYes(const ZTCHAR* prompt) {
  ZTCHAR answer[16] = {};
  zcedInitGet(/*val=*/0, L"Yes No");
  switch (zcedGetKword(prompt, answer, sizeof answer / sizeof answer[0])) {
    case RTNONE:
      return true;
    case RTNORM:
      return keywordIs(answer, L"Yes");
    default:
      return std::nullopt;
  }
}

// PEDITACCEPT 1: lines and arcs are turned into polylines without asking.
bool convertWithoutAsking() { return shortVariable(L"PEDITACCEPT", /*fallback=*/0) == 1; }

// The spline-fit type SPLINETYPE asks for (5 quadratic, 6 cubic) and the segments per frame
// edge (SPLINESEGS; 0 cannot fit, so the default 8 stands in).
ZcDb::Poly2dType splineType2d() {
  return shortVariable(L"SPLINETYPE", /*fallback=*/6) == 5 ? ZcDb::k2dQuadSplinePoly
                                                           : ZcDb::k2dCubicSplinePoly;
}
ZcDb::Poly3dType splineType3d() {
  return shortVariable(L"SPLINETYPE", /*fallback=*/6) == 5 ? ZcDb::k3dQuadSplinePoly
                                                           : ZcDb::k3dCubicSplinePoly;
}
Zdesk::Int16 splineSegments() {
  const ZcDbDatabase* db = zcdbHostApplicationServices()->workingDatabase();
  const Zdesk::Int16 segments = db ? db->splinesegs() : Zdesk::Int16{8};
  return segments == 0 ? Zdesk::Int16{8} : segments;
}

// One option applied to one polyline (open for write by the caller). False when the polyline
// kind does not take the option.
struct Change {
  enum Kind { kClose, kOpen, kWidth, kFit, kSpline, kDecurve, kLtypeOn, kLtypeOff, kReverse } kind;
  double width = 0.0;
};

bool changeLightweight(ZcDbPolyline& polyline, const Change& change) {
  switch (change.kind) {
    case Change::kClose:
    case Change::kOpen:
      polyline.setClosed(change.kind == Change::kClose);
      return true;
    case Change::kWidth:
      return polyline.setConstantWidth(change.width) == Zcad::eOk;
    case Change::kDecurve:
      for (unsigned int i = 0; i < polyline.numVerts(); ++i) (void)polyline.setBulgeAt(i, /*bulge=*/0.0);
      return true;
    case Change::kLtypeOn:
    case Change::kLtypeOff:
      polyline.setPlinegen(change.kind == Change::kLtypeOn);
      return true;
    case Change::kReverse:
      return polyline.reverseCurve() == Zcad::eOk;
    case Change::kFit:
    case Change::kSpline:
      return false;  // needs the 2-D polyline (see applyChange)
  }
  return false;
}

Zcad::ErrorStatus setAllWidths(ZcDb2dPolyline& polyline, double width) {
  Zcad::ErrorStatus es = polyline.setDefaultStartWidth(width);
  if (es == Zcad::eOk) es = polyline.setDefaultEndWidth(width);
  ZcDbObjectIterator* vertices = polyline.vertexIterator();
  for (vertices->start(); es == Zcad::eOk && !vertices->done(); vertices->step()) {
    ZcDb2dVertex* vertex = nullptr;
    es = polyline.openVertex(vertex, vertices->objectId(), ZcDb::kForWrite);
    if (es != Zcad::eOk) break;
    es = vertex->setStartWidth(width);
    if (es == Zcad::eOk) es = vertex->setEndWidth(width);
    vertex->close();
  }
  delete vertices;
  return es;
}

bool change2d(ZcDb2dPolyline& polyline, const Change& change) {
  switch (change.kind) {
    case Change::kClose:
      return polyline.makeClosed() == Zcad::eOk;
    case Change::kOpen:
      return polyline.makeOpen() == Zcad::eOk;
    case Change::kWidth:
      return setAllWidths(polyline, change.width) == Zcad::eOk;
    case Change::kFit:
      return polyline.curveFit() == Zcad::eOk;
    case Change::kSpline:
      return polyline.splineFit(splineType2d(), splineSegments()) == Zcad::eOk;
    case Change::kDecurve:
      return polyline.straighten() == Zcad::eOk;
    case Change::kLtypeOn:
      return polyline.setLinetypeGenerationOn() == Zcad::eOk;
    case Change::kLtypeOff:
      return polyline.setLinetypeGenerationOff() == Zcad::eOk;
    case Change::kReverse:
      return polyline.reverseCurve() == Zcad::eOk;
  }
  return false;
}

bool change3d(ZcDb3dPolyline& polyline, const Change& change) {
  switch (change.kind) {
    case Change::kClose:
      return polyline.makeClosed() == Zcad::eOk;
    case Change::kOpen:
      return polyline.makeOpen() == Zcad::eOk;
    case Change::kSpline:
      return polyline.splineFit(splineType3d(), splineSegments()) == Zcad::eOk;
    case Change::kDecurve:
      return polyline.straighten() == Zcad::eOk;
    case Change::kReverse:
      return polyline.reverseCurve() == Zcad::eOk;
    case Change::kWidth:
    case Change::kFit:
    case Change::kLtypeOn:
    case Change::kLtypeOff:
      return false;  // a 3-D polyline has no widths, arcs or linetype generation
  }
  return false;
}

bool applyChange(ZcDbObjectId id, const Change& change) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) return false;
  bool done = false;
  if (ZcDbPolyline* light = ZcDbPolyline::cast(entity)) {
    if (change.kind == Change::kFit || change.kind == Change::kSpline) {
      // A fitted curve needs the old-style polyline: the conversion keeps the id.
      ZcDb2dPolyline* converted = nullptr;
      if (light->convertTo(converted, /*transferId=*/true) == Zcad::eObjectToBeDeleted) {
        delete light;
        done = change2d(*converted, change);
        converted->close();
        return done;
      }
    } else {
      done = changeLightweight(*light, change);
    }
  } else if (ZcDb2dPolyline* flat = ZcDb2dPolyline::cast(entity)) {
    done = change2d(*flat, change);
  } else if (ZcDb3dPolyline* spatial = ZcDb3dPolyline::cast(entity)) {
    done = change3d(*spatial, change);
  }
  entity->close();
  return done;
}

void applyToAll(const std::vector<ZcDbObjectId>& ids, const Change& change) {
  int refused = 0;
  for (ZcDbObjectId id : ids)
    if (!applyChange(id, change)) ++refused;
  if (refused > 0) {
    print(countOf(static_cast<std::size_t>(refused), L"polyline", L"polylines") +
          L" could not take that option.\n");
  }
}

bool isClosedPolyline(ZcDbObjectId id) {
  ZcDbCurve* curve = nullptr;
  if (zcdbOpenObject(curve, id, ZcDb::kForRead) != Zcad::eOk) return false;
  const bool closed = curve->isClosed();
  curve->close();
  return closed;
}

bool hasLinetypeGeneration(ZcDbObjectId id) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) return false;
  bool on = false;
  if (const ZcDbPolyline* light = ZcDbPolyline::cast(entity)) on = light->hasPlinegen();
  if (const ZcDb2dPolyline* flat = ZcDb2dPolyline::cast(entity)) on = flat->isLinetypeGenerationOn();
  entity->close();
  return on;
}

// "Enter polyline linetype generation option [ON/OFF] <current>:"; nullopt when cancelled.
std::optional<Change> askLinetypeGeneration(ZcDbObjectId first) {
  const bool on = hasLinetypeGeneration(first);
  const std::wstring prompt =
      std::wstring(L"Enter polyline linetype generation option [ON/OFF] <") + (on ? L"On" : L"Off") + L">: ";
  ZTCHAR answer[16] = {};
  zcedInitGet(/*val=*/0, L"ON OFF");
  const int result = zcedGetKword(prompt.c_str(), answer, sizeof answer / sizeof answer[0]);
  if (result == RTNONE) return Change{on ? Change::kLtypeOn : Change::kLtypeOff};
  if (result != RTNORM) return std::nullopt;
  return Change{keywordIs(answer, L"ON") ? Change::kLtypeOn : Change::kLtypeOff};
}

// The option prompt, over and over, until Enter, eXit or a cancel.
void editPolylines(const std::vector<ZcDbObjectId>& ids) {
  const bool several = ids.size() > 1;
  for (;;) {
    std::wstring prompt = L"Enter an option [";
    if (several) {
      prompt += L"Close/Open";
    } else {
      prompt += isClosedPolyline(ids.front()) ? L"Open" : L"Close";
    }
    prompt += L"/Join/Width/Fit/Spline/Decurve/Ltype gen/Reverse/Undo]: ";
    ZTCHAR answer[32] = {};
    zcedInitGet(/*val=*/0, kOptionKeywords);
    if (zcedGetKword(prompt.c_str(), answer, sizeof answer / sizeof answer[0]) != RTNORM) return;
    const std::wstring option = answer;
    if (keywordIs(option, L"eXit")) return;
    if (keywordIs(option, L"Close")) {
      applyToAll(ids, Change{Change::kClose});
    } else if (keywordIs(option, L"Open")) {
      applyToAll(ids, Change{Change::kOpen});
    } else if (keywordIs(option, L"Width")) {
      double width = 0.0;
      zcedInitGet(RSG_NONULL | RSG_NONEG, /*kwl=*/nullptr);
      if (zcedGetDist(/*pt=*/nullptr, L"Specify new width for all segments: ", &width) != RTNORM) return;
      applyToAll(ids, Change{Change::kWidth, width});
    } else if (keywordIs(option, L"Fit")) {
      applyToAll(ids, Change{Change::kFit});
    } else if (keywordIs(option, L"Spline")) {
      applyToAll(ids, Change{Change::kSpline});
    } else if (keywordIs(option, L"Decurve")) {
      applyToAll(ids, Change{Change::kDecurve});
    } else if (keywordIs(option, L"Ltype")) {
      const std::optional<Change> change = askLinetypeGeneration(ids.front());
      if (!change) return;
      applyToAll(ids, *change);
    } else if (keywordIs(option, L"Reverse")) {
      applyToAll(ids, Change{Change::kReverse});
    } else if (keywordIs(option, L"Join")) {
      print(L"Join is not available in this host.\n");
    } else if (keywordIs(option, L"Undo")) {
      print(L"Undo inside PEDIT is not available in this host: U after the command takes it back.\n");
    }
  }
}

// Multiple: the polylines of a selection, with the lines and arcs in it turned into
// polylines when the user agrees. Empty when nothing is left to edit or on a cancel.
std::vector<ZcDbObjectId> selectSeveral() {
  std::vector<ZcDbObjectId> chosen;
  if (!selectEntities(chosen, SelectFor::kChanging)) return {};
  std::vector<ZcDbObjectId> polylines, convertible;
  for (ZcDbObjectId id : chosen) {
    if (isPolyline(id)) polylines.push_back(id);
    if (canBecomePolyline(id)) convertible.push_back(id);
  }
  if (!convertible.empty()) {
    bool convert = convertWithoutAsking();
    if (!convert) {
      const std::optional<bool> answer = askYes(L"Convert Lines and Arcs to polylines [Yes/No]? <Y>: ");
      if (!answer) return {};
      convert = *answer;
    }
    if (convert) {
      for (ZcDbObjectId id : convertible)
        if (turnIntoPolyline(id)) polylines.push_back(id);
    }
  }
  return polylines;
}

}  // namespace

void peditCommand() {
  if (!workingDrawing()) return;
  std::vector<ZcDbObjectId> ids;
  while (ids.empty()) {
    zds_name picked{};
    zds_point at{};
    zcedInitGet(/*val=*/0, L"Multiple");
    const int result = zcedEntSel(L"Select polyline or [Multiple]: ", picked, at);
    if (result == RTKWORD) {
      ids = selectSeveral();
      if (ids.empty()) return;
      break;
    }
    if (result == RTERROR) {
      print(L"Nothing found there.\n");
      continue;
    }
    if (result != RTNORM) return;
    ZcDbObjectId id;
    if (zcdbGetObjectId(id, picked) != Zcad::eOk) continue;
    std::vector<ZcDbObjectId> candidate{id};
    dropEntitiesOnLockedLayers(candidate);
    if (candidate.empty()) continue;
    if (isPolyline(id)) {
      ids.push_back(id);
    } else if (canBecomePolyline(id)) {
      print(L"Object selected is not a polyline\n");
      if (!convertWithoutAsking()) {
        const std::optional<bool> answer = askYes(L"Do you want to turn it into one? <Y> ");
        if (!answer || !*answer) return;
      }
      if (!turnIntoPolyline(id)) {
        print(L"The object cannot be turned into a polyline.\n");
        return;
      }
      ids.push_back(id);
    } else {
      print(L"Object selected is not a polyline and cannot be turned into one.\n");
    }
  }
  editPolylines(ids);
}

}  // namespace vtcad::commands
