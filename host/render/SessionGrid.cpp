#include "render/SessionGrid.h"

#include "zcad/zced.h"

namespace vtcad::render {

GridStyle sessionGrid() {
  GridStyle grid;
  resbuf value{};
  grid.shown =
      zcedGetVar(L"GRIDMODE", &value) == RTNORM && value.restype == RTSHORT && value.resval.rint == 1;
  if (zcedGetVar(L"GRIDUNIT", &value) == RTNORM && value.restype == RTPOINT) {
    grid.spacingX = value.resval.rpoint[0];
    grid.spacingY = value.resval.rpoint[1];
  }
  return grid;
}

}  // namespace vtcad::render
