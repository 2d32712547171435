#include "linkline/VTLinkLineToNotify.h"

#include "frame/ResbufChain.h"
#include "frame/SelectionSet.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/zced.h"
#include "zcad/zcut.h"

ZCRX_DEFINE_PLUGIN_MEMBERS(VTLinkLineToNotify)

using veltrace::SideMidpoints;

namespace {

// Midpoints closer than this to the recorded ones have not moved.
constexpr double kUnmoved = 0.001;

// The curves the reactor works for: every curve but a spline (connectors are splines, and a
// connector's own edits must not move connectors).
const ZcDbCurve* watchedCurve(const ZcDbObject* dbObj) {
  const ZcDbCurve* curve = ZcDbCurve::cast(dbObj);
  if (!curve || ZcDbSpline::cast(dbObj)) return nullptr;
  return curve;
}

bool unmoved(const SideMidpoints& before, const SideMidpoints& after) {
  return after.top.distanceTo(before.top) < kUnmoved && after.bottom.distanceTo(before.bottom) < kUnmoved &&
         after.left.distanceTo(before.left) < kUnmoved && after.right.distanceTo(before.right) < kUnmoved;
}

// The new midpoint for an end at `end`, or null when it lies on none of the recorded ones
// (tested right, left, top, bottom; a later match overrides an earlier one).
const ZcGePoint3d* followedSide(const ZcGePoint3d& end, const SideMidpoints& before,
                                const SideMidpoints& after, double tolerance) {
  const ZcGePoint3d* target = nullptr;
  if (end.distanceTo(before.right) < tolerance) target = &after.right;
  if (end.distanceTo(before.left) < tolerance) target = &after.left;
  if (end.distanceTo(before.top) < tolerance) target = &after.top;
  if (end.distanceTo(before.bottom) < tolerance) target = &after.bottom;
  return target;
}

}  // namespace

Zcad::ErrorStatus VTLinkLineToNotify::dwgInFields(ZcDbDwgFiler* filer) {
  assertWriteEnabled();
  return ZcDbObject::dwgInFields(filer);
}

Zcad::ErrorStatus VTLinkLineToNotify::dwgOutFields(ZcDbDwgFiler* filer) const {
  assertReadEnabled();
  return ZcDbObject::dwgOutFields(filer);
}

Zcad::ErrorStatus VTLinkLineToNotify::dxfInFields(ZcDbDxfFiler* filer) {
  assertWriteEnabled();
  return ZcDbObject::dxfInFields(filer);
}

Zcad::ErrorStatus VTLinkLineToNotify::dxfOutFields(ZcDbDxfFiler* filer) const {
  assertReadEnabled();
  return ZcDbObject::dxfOutFields(filer);
}

void VTLinkLineToNotify::openedForModify(const ZcDbObject* dbObj) {
  const ZcDbCurve* curve = watchedCurve(dbObj);
  if (!curve) return;
  ZcDbExtents extents;
  if (curve->getGeomExtents(extents) != Zcad::eOk || extents.isEmpty()) return;
  const veltrace::SideMidpointsOf sides = veltrace::sideMidpointsOf(*curve);
  if (sides.known) recorded_ = sides.sides;
  candidates_.clear();
  // The splines near the curve: its extents grown by a thirtieth of their diagonal.
  const double margin = extents.minPoint().distanceTo(extents.maxPoint()) / 30.0;
  const zds_point lo = {extents.minPoint().x - margin, extents.minPoint().y - margin, 0.0};
  const zds_point hi = {extents.maxPoint().x + margin, extents.maxPoint().y + margin, 0.0};
  const veltrace::ResbufChain filter(zcutBuildList(RTDXF0, L"SPLINE", 0));
  veltrace::SelectionSet set;
  if (zcedSSGet(L"_C", lo, hi, filter.get(), set.name) != RTNORM) return;
  for (const ZcDbObjectId& id : veltrace::selectionSetIds(set.name)) candidates_.push_back(id);
}

void VTLinkLineToNotify::modified(const ZcDbObject* dbObj) {
  const ZcDbCurve* curve = watchedCurve(dbObj);
  if (!curve) return;
  const veltrace::SideMidpointsOf now = veltrace::sideMidpointsOf(*curve);
  if (!now.known || unmoved(recorded_, now.sides)) return;
  const double tolerance = now.sides.tolerance();
  for (const ZcDbObjectId& id : candidates_) {
    ZcDbSpline* spline = nullptr;
    if (zcdbOpenObject(spline, id, ZcDb::kForWrite) != Zcad::eOk) continue;
    // Each end that sat on a side follows it: both ends, when the connector joins two sides
    // of this one curve.
    const int last = spline->numFitPoints() - 1;
    for (const int index : {0, last}) {
      ZcGePoint3d end;
      if (index < 0 || spline->getFitPointAt(index, end) != Zcad::eOk) continue;
      if (const ZcGePoint3d* side = followedSide(end, recorded_, now.sides, tolerance))
        spline->setFitPointAt(index, *side);
    }
    spline->close();
  }
}
