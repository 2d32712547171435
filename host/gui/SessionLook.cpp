#include "gui/SessionLook.h"

#include "zcad/zced.h"

namespace vtcad::gui {

render::GridStyle sessionGrid() {
  render::GridStyle grid;
  resbuf value{};
  grid.shown =
      zcedGetVar(L"GRIDMODE", &value) == RTNORM && value.restype == RTSHORT && value.resval.rint == 1;
  if (zcedGetVar(L"GRIDUNIT", &value) == RTNORM && value.restype == RTPOINT) {
    grid.spacingX = value.resval.rpoint[0];
    grid.spacingY = value.resval.rpoint[1];
  }
  return grid;
}

}  // namespace vtcad::gui
