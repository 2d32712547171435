// MIRROR: mirrors the selected entities about a line of the XY plane (the mirror is the plane
// through that line perpendicular to XY), as copies or, when the source objects are to be
// erased, in place. Single-line texts follow MIRRTEXT through the database (0: they stay
// readable); multiline texts always stay readable.
#include "commands/EditCommandSupport.h"
#include "commands/EditCommands.h"
#include "zcad/ge/ZcGePlane.h"
#include "zcad/zced.h"

namespace vtcad::commands {

void mirrorCommand() {
  if (!workingDrawing()) return;
  std::vector<ZcDbObjectId> ids;
  if (!selectEntities(ids, SelectFor::kChanging)) return;

  zds_point first{}, second{};
  zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
  if (zcedGetPoint(/*pt=*/nullptr, L"Specify first point of mirror line: ", first) != RTNORM) return;
  ZcGeVector3d along;
  for (;;) {
    zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
    if (zcedGetPoint(first, L"Specify second point of mirror line: ", second) != RTNORM) return;
    along = fromZds(second) - fromZds(first);
    along.z = 0.0;
    if (!along.isZeroLength()) break;
    // Degenerate case: points equal in XY give no line to mirror about.
    print(L"The mirror line needs two different points.\n");
  }

  ZTCHAR answer[64] = {};
  zcedInitGet(/*val=*/0, L"Yes No");
  const int result =
      zcedGetKword(L"Erase source objects? [Yes/No] <No>: ", answer, sizeof answer / sizeof answer[0]);
  if (result != RTNORM && result != RTNONE) return;
  const bool eraseSource = result == RTNORM && keywordIs(answer, L"Yes");

  const ZcGePlane mirrorPlane(fromZds(first), along.crossProduct(ZcGeVector3d::kZAxis));
  const ZcGeMatrix3d xform = ZcGeMatrix3d::mirroring(mirrorPlane);
  // Erasing the source leaves only the mirror image: changing the entities in place gives that
  // and keeps their handles.
  if (eraseSource) {
    reportRefused(transformEntities(ids, xform).refused, L"mirrored");
  } else {
    reportRefused(copyEntities(ids, xform, /*copies=*/nullptr).refused, L"mirrored");
  }
}

}  // namespace vtcad::commands
