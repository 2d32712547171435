// MOVE: moves the selected entities by a displacement given as a base point and a second
// point, or typed directly ("Displacement", or Enter at the second point to take the base
// point itself as the displacement).
#include "commands/EditCommandSupport.h"
#include "commands/EditCommands.h"
#include "editor/WaitingPrompt.h"
#include "zcad/zced.h"

namespace vtcad::commands {

void moveCommand() {
  if (!workingDrawing()) return;
  std::vector<ZcDbObjectId> ids;
  if (!selectEntities(ids, SelectFor::kChanging)) return;

  ZcGeVector3d displacement;
  zds_point base{};
  zcedInitGet(/*val=*/0, L"Displacement");
  switch (zcedGetPoint(/*pt=*/nullptr, L"Specify base point or [Displacement] <Displacement>: ", base)) {
    case RTNORM: {
      zds_point second{};
      const editor::DragScope dragging(ids);
      switch (zcedGetPoint(base, L"Specify second point or <use first point as displacement>: ", second)) {
        case RTNORM:
          displacement = fromZds(second) - fromZds(base);
          break;
        case RTNONE:
          displacement = fromZds(base) - ZcGePoint3d::kOrigin;
          break;
        default:
          return;
      }
      break;
    }
    case RTKWORD:  // Displacement, the only keyword
    case RTNONE:
      if (!askDisplacement(displacement)) return;
      break;
    default:
      return;
  }
  // Degenerate case: a zero displacement changes nothing, so nothing is recorded either.
  if (displacement.isZeroLength()) return;
  reportRefused(transformEntities(ids, ZcGeMatrix3d::translation(displacement)).refused, L"moved");
}

}  // namespace vtcad::commands
