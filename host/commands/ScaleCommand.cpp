// SCALE: scales the selected entities about a base point by a factor typed or shown as the
// distance from the base point, or by Reference (a reference length and the new length it
// should have). Copy scales copies and leaves the originals.
#include "commands/EditCommandSupport.h"
#include "commands/EditCommands.h"
#include "zcad/zced.h"

namespace vtcad::commands {
namespace {

constexpr int kPositiveOnly = RSG_NOZERO | RSG_NONEG;

// Reference: the factor is newLength / referenceLength. False when cancelled.
bool askReferenceFactor(const zds_point base, double& factor) {
  double reference = 1.0;
  zcedInitGet(kPositiveOnly, /*kwl=*/nullptr);
  int result = zcedGetDist(/*pt=*/nullptr, L"Specify reference length <1.0000>: ", &reference);
  if (result == RTNONE)
    reference = 1.0;
  else if (result != RTNORM)
    return false;

  double length = 1.0;
  zcedInitGet(kPositiveOnly, L"Points");
  result = zcedGetDist(base, L"Specify new length or [Points] <1.0000>: ", &length);
  if (result == RTKWORD) {
    zds_point first{}, second{};
    zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
    if (zcedGetPoint(/*pt=*/nullptr, L"Specify first point: ", first) != RTNORM) return false;
    zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
    if (zcedGetPoint(first, L"Specify second point: ", second) != RTNORM) return false;
    length = fromZds(first).distanceTo(fromZds(second));
    // Degenerate case: two equal points would scale everything to nothing.
    if (!(length > 0.0)) {
      print(L"Value must be positive and nonzero.\n");
      return false;
    }
  } else if (result == RTNONE) {
    length = 1.0;
  } else if (result != RTNORM) {
    return false;
  }
  factor = length / reference;
  return true;
}

}  // namespace

void scaleCommand() {
  if (!workingDrawing()) return;
  std::vector<ZcDbObjectId> ids;
  if (!selectEntities(ids, SelectFor::kChanging)) return;
  zds_point base{};
  zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
  if (zcedGetPoint(/*pt=*/nullptr, L"Specify base point: ", base) != RTNORM) return;

  bool copy = false;
  double factor = 1.0;
  for (;;) {
    zcedInitGet(kPositiveOnly, L"Copy Reference");
    const int result = zcedGetDist(base, L"Specify scale factor or [Copy/Reference] <1.0000>: ", &factor);
    if (result == RTNORM) break;
    if (result == RTNONE) {
      factor = 1.0;
      break;
    }
    if (result != RTKWORD) return;
    if (keywordIs(lastKeyword(), L"Copy")) {
      copy = true;
      print(L"Scaling a copy of the selected objects.\n");
      continue;
    }
    if (!askReferenceFactor(base, factor)) return;
    break;
  }

  const ZcGeMatrix3d xform = ZcGeMatrix3d::scaling(factor, fromZds(base));
  if (copy) {
    reportRefused(copyEntities(ids, xform, /*copies=*/nullptr).refused, L"copied");
  } else if (factor != 1.0) {  // a factor of 1 changes nothing: nothing to record
    reportRefused(transformEntities(ids, xform).refused, L"scaled");
  }
}

}  // namespace vtcad::commands
