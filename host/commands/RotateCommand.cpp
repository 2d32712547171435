// ROTATE: rotates the selected entities about a base point, counter-clockwise in the XY plane
// by an angle typed or shown from the base point, or by Reference (the angle a direction has
// now and the angle it should have). Copy rotates copies and leaves the originals.
#include <cmath>
#include <string>

#include "commands/EditCommandSupport.h"
#include "commands/EditCommands.h"
#include "zcad/zced.h"

namespace vtcad::commands {
namespace {

// The default of the next rotation angle: the last one used in this session, as hosts do.
double lastRotation = 0.0;

// The angle of the direction from one picked point to another. False when cancelled.
bool askAngleByPoints(double& angle) {
  zds_point first{}, second{};
  zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
  if (zcedGetPoint(/*pt=*/nullptr, L"Specify first point: ", first) != RTNORM) return false;
  zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
  if (zcedGetPoint(first, L"Specify second point: ", second) != RTNORM) return false;
  const ZcGeVector3d direction = fromZds(second) - fromZds(first);
  angle = std::atan2(direction.y, direction.x);
  return true;
}

// Reference: the rotation is the new angle minus the reference angle. False when cancelled.
bool askReferenceRotation(const zds_point base, double& rotation) {
  double reference = 0.0;
  int result = zcedGetAngle(/*pt=*/nullptr, L"Specify the reference angle <0>: ", &reference);
  if (result == RTNONE)
    reference = 0.0;
  else if (result != RTNORM)
    return false;

  double target = 0.0;
  zcedInitGet(/*val=*/0, L"Points");
  result = zcedGetAngle(base, L"Specify the new angle or [Points] <0>: ", &target);
  if (result == RTKWORD) {
    if (!askAngleByPoints(target)) return false;
  } else if (result == RTNONE) {
    target = 0.0;
  } else if (result != RTNORM) {
    return false;
  }
  rotation = target - reference;
  return true;
}

}  // namespace

void rotateCommand() {
  if (!workingDrawing()) return;
  print(std::wstring(L"Current positive angle in UCS:  ANGDIR=") +
        (shortVariable(L"ANGDIR", /*fallback=*/0) == 1 ? L"clockwise" : L"counterclockwise") + L"  ANGBASE=" +
        formatAngle(realVariable(L"ANGBASE", /*fallback=*/0.0)) + L"\n");
  std::vector<ZcDbObjectId> ids;
  if (!selectEntities(ids, SelectFor::kChanging)) return;
  zds_point base{};
  zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
  if (zcedGetPoint(/*pt=*/nullptr, L"Specify base point: ", base) != RTNORM) return;

  bool copy = false;
  double rotation = lastRotation;
  for (;;) {
    const std::wstring prompt =
        L"Specify rotation angle or [Copy/Reference] <" + formatAngle(lastRotation) + L">: ";
    zcedInitGet(/*val=*/0, L"Copy Reference");
    const int result = zcedGetAngle(base, prompt.c_str(), &rotation);
    if (result == RTNORM) break;
    if (result == RTNONE) {
      rotation = lastRotation;
      break;
    }
    if (result != RTKWORD) return;
    if (keywordIs(lastKeyword(), L"Copy")) {
      copy = true;
      print(L"Rotating a copy of the selected objects.\n");
      continue;
    }
    if (!askReferenceRotation(base, rotation)) return;
    break;
  }
  lastRotation = rotation;

  const ZcGeMatrix3d xform = ZcGeMatrix3d::rotation(rotation, ZcGeVector3d::kZAxis, fromZds(base));
  if (copy) {
    reportRefused(copyEntities(ids, xform, /*copies=*/nullptr).refused, L"copied");
  } else if (rotation != 0.0) {  // no turn changes nothing: nothing to record
    reportRefused(transformEntities(ids, xform).refused, L"rotated");
  }
}

}  // namespace vtcad::commands
