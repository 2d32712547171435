#pragma once
// ExtentsView: the view that shows a drawing's model space extents whole on a screen of given
// size, centred, with a margin of `margin` (a fraction of the larger side) around them. An empty
// drawing keeps its current view; a drawing of one point keeps the current view's height.
#include "editor/ViewTransform.h"

class ZcDbDatabase;

namespace vtcad::render {

inline constexpr double kExtentsMargin = 0.03;

editor::ViewTransform extentsView(ZcDbDatabase* db, editor::ScreenSize screen,
                                  double margin = kExtentsMargin);

}  // namespace vtcad::render
