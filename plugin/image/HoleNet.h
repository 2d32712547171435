#pragma once
// The hole net of a picture: the picture cut into square cells, each cell's darkness becoming
// the size of one hole (a circle, a square, a diamond or a copy of a picked entity) placed in
// the drawing by an origin and a height.
#include <vector>

#include "image/ImagePlacement.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/platform/zcimage.h"

namespace veltrace {

// The rows edit's limits and default.
inline constexpr int kFewestHoleRows = 24;
inline constexpr int kMostHoleRows = 1024;
inline constexpr int kDefaultHoleRows = 72;

enum class HoleShape { kCircle = 0, kSquare = 1, kDiamond = 2, kPickedEntity = 3 };

struct HoleCell {
  double x = 0.0;  // the cell's centre in picture pixels (x right, y down)
  double y = 0.0;
  double measure = 0.0;  // darkness × cell size, in picture pixels
};

struct HoleNetCells {
  int rows = 0;
  int columns = 0;
  double cellSize = 1.0;        // picture pixels
  int pictureHeight = 0;        // H, the scale of the placement
  std::vector<HoleCell> cells;  // row by row from the top
};

// The rows of the edit as the net uses them: outside 24 ... 1024 it is 72 again.
int committedHoleRows(int rows);

// Cells of size H / rows (rows limited to H; 1.0 when that comes out 0), floor(H / c) rows and
// floor(W / c) columns. A cell's darkness is 1 - (sum of its samples' red, green and blue) /
// (c² · 765), the samples being the pixels (floor(j c + b), floor(i c + a)) for whole a, b below
// c; with `invert`, |darkness - 1|. Pictures of other depths than 8, 24 and 32 bits give no
// cells (the commands load at those depths).
HoleNetCells computeHoleNet(const CImage& picture, int rows, bool invert);

struct HoleNetStyle {
  int size = 50;  // the hole size slider, 0 ... 100
  HoleShape shape = HoleShape::kCircle;
  ZcDbObjectId holeEntity;  // the picked entity of kPickedEntity (null: circles)
};

// Places one hole per cell with a positive measure in the current space: centre (O.x + k px,
// O.y + h - k py, O.z) with k = h / H, size r = m (S + 5) / 100 · k. Cells whose measure is
// zero or less are skipped (a white cell of a cell size that is not whole comes out slightly
// negative). Answers how many holes were placed.
int placeHoleNet(const HoleNetCells& net, const PicturePlacement& placement, const HoleNetStyle& style);

// The preview's red dot of a cell: the circle of radius 1.5 (S / 100) m about the centre's
// integer parts, its box scaled by the display scale.
struct PreviewDot {
  double left = 0.0;
  double top = 0.0;
  double right = 0.0;
  double bottom = 0.0;
};
PreviewDot previewDot(const HoleCell& cell, int size, double displayScale);

}  // namespace veltrace
